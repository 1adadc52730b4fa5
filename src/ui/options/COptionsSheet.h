#pragma once

#include <QDialog>

class QTabWidget;

namespace veltro {

class CGeneralPage;
class CNewConnections;
class NumberOptionPage;
class SettingsStore;

// The "Configure" sheet: the General, New Connections and History pages with OK and Cancel. OK
// checks and stores every page that was shown, in page order, and stays open on the first
// that fails; the General page's values are stored by then. Cancel stores nothing.
class COptionsSheet : public QDialog {
    Q_OBJECT
public:
    COptionsSheet(const QString& caption, QWidget* parent, int firstPage, SettingsStore& settings);

    CGeneralPage& general() const { return *generalPage; }
    CNewConnections& newConnections() const { return *connectionsPage; }
    NumberOptionPage& history() const { return *historyPage; }

    void setActivePage(QWidget* page);
    QWidget* activePage() const;

public slots:
    void accept() override;

private:
    QTabWidget* tabs;
    CGeneralPage* generalPage;
    CNewConnections* connectionsPage;
    NumberOptionPage* historyPage;
};

} // namespace veltro
