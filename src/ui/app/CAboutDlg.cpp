#include "app/CAboutDlg.h"

#include "app/IconFactory.h"
#include "app/PromptService.h"
#include "odbc/OdbcConnection.h"
#include "session/CChildFrame.h"
#include "session/Session.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
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
    versionLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    link->setObjectName("homePage");
    link->setCursor(Qt::PointingHandCursor);
    link->setTextFormat(Qt::PlainText);
    link->setText(homePageAddress);
    QFont underlined = link->font();
    underlined.setUnderline(true);
    link->setFont(underlined);
    link->installEventFilter(this);
    paintLink();

    auto* icon = new QLabel(this);
    icon->setPixmap(applicationIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    auto* name = new QLabel("Veltro (using ODBC)", this);
    QFont nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.4);
    name->setFont(nameFont);

    // The facts as label and value side by side, each on one line.
    auto* facts = new QGridLayout;
    facts->setHorizontalSpacing(12);
    const auto addFact = [this, facts](const QString& label, QWidget* value) {
        const int row = facts->rowCount();
        facts->addWidget(new QLabel(label, this), row, 0);
        facts->addWidget(value, row, 1);
    };
    addFact("Version:", new QLabel(QString("%1 (MBCS Build)").arg(VELTRO_UI_VERSION), this));
    addFact("ODBC driver manager version:", versionLabel);
    addFact("Home page:", link);

    auto* text = new QVBoxLayout;
    text->setSpacing(10);
    text->addWidget(name);
    text->addLayout(facts);
    text->addStretch();
    auto* top = new QHBoxLayout;
    top->setSpacing(18);
    top->addWidget(icon);
    top->addLayout(text, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 14);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    // As large as the texts need, no larger, and never wrapping them.
    layout->setSizeConstraint(QLayout::SetFixedSize);
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
