#pragma once

#include "driverinfo/DriverInfoReport.h"

#include <QDialog>

#include <array>
#include <memory>

class QLabel;
class QPushButton;
class QTabWidget;

namespace veltro {

class CInfoPage;
class OdbcConnection;

// "ODBC Driver Info": eight pages of what the driver of a session's connection declares about
// itself, and Save As, which writes them all as one report. The sheet reads the connection on
// the user-interface thread, so it is opened only while no batch runs.
class CMyPropertySheet : public QDialog {
    Q_OBJECT
public:
    CMyPropertySheet(std::shared_ptr<OdbcConnection> connection, QWidget* parent = nullptr);
    ~CMyPropertySheet() override;

    static constexpr int pageCount = static_cast<int>(DriverInfoReport::pageCount);
    CInfoPage& page(int index) const { return *pages[static_cast<std::size_t>(index)]; }
    QTabWidget& tabs() const { return *pageTabs; }
    QString cursorLibraryText() const;

    // Asks for a file and writes the report to it; the sheet stays open. False when nothing
    // was written.
    bool OnSaveAs();

private:
    DriverInfoReport report;
    // Sessions open their connections without the ODBC cursor library.
    bool cursorLibraryLoaded = false;
    QTabWidget* pageTabs;
    QLabel* cursorLibraryStatus;
    QPushButton* saveAsButton;
    QPushButton* closeButton;
    std::array<CInfoPage*, DriverInfoReport::pageCount> pages{};
};

} // namespace veltro
