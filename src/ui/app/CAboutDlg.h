#pragma once

#include <QDialog>

class QLabel;

namespace veltro {

class CChildFrame;

inline constexpr const char* homePageAddress = "https://veltro.kellamoor.example/";

// The About box: the program, its version and build type, the driver manager's ODBC
// version through the active session, and a link to the home page.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(CChildFrame* activeSession, QWidget* parent = nullptr);

    QString odbcVersionText() const;
    // Opens the home page; a failure beeps and leaves the link as it was.
    void openLink();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintLink();

    QLabel* versionLabel;
    QLabel* link;
    bool visited = false;
};

} // namespace veltro
