#include "app/CAboutDlg.h"

#include "app/PromptService.h"
#include "odbc/OdbcConnection.h"
#include "session/CChildFrame.h"
#include "session/Session.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#include <sqlext.h>

namespace veltro {

CAboutDlg::CAboutDlg(CChildFrame* activeSession, QWidget* parent)
    : QDialog(parent), versionLabel(new QLabel(this)), link(new QLabel(this)) {
    setWindowTitle("About Veltro (using ODBC)");
    QString odbcVersion = "CDatabase::m_hdbc == NULL";
    if (activeSession != nullptr && activeSession->isConnected()) {
        try {
            odbcVersion =
                QString::fromStdString(activeSession->session().connection->infoText(SQL_ODBC_VER));
        } catch (...) {
            // The version line keeps its text when the driver manager does not answer.
        }
    }
    versionLabel->setText(odbcVersion);
    versionLabel->setObjectName("odbcVersion");
    auto* title =
        new QLabel(QString("Veltro (using ODBC) Version %1").arg(VELTRO_UI_VERSION), this);
    auto* build = new QLabel("(MBCS Build)", this);
    link->setObjectName("homePage");
    link->setCursor(Qt::PointingHandCursor);
    link->setTextFormat(Qt::PlainText);
    link->setText(homePageAddress);
    QFont underlined = link->font();
    underlined.setUnderline(true);
    link->setFont(underlined);
    link->installEventFilter(this);
    paintLink();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(build);
    layout->addWidget(new QLabel("ODBC driver manager version:", this));
    layout->addWidget(versionLabel);
    layout->addWidget(link);
    layout->addWidget(buttons);
}

bool CAboutDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == link && event->type() == QEvent::MouseButtonPress) {
        openLink();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QString CAboutDlg::odbcVersionText() const {
    return versionLabel->text();
}

void CAboutDlg::openLink() {
    if (QDesktopServices::openUrl(QUrl(homePageAddress))) {
        visited = true;
    } else {
        PromptService::current().beep();
    }
    paintLink();
}

void CAboutDlg::paintLink() {
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, visited ? QColor(0x80, 0x00, 0x80) : QColor(0, 0, 0xFF));
    link->setPalette(palette);
}

} // namespace veltro
