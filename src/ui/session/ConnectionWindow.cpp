#include "session/ConnectionWindow.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStatusBar>

namespace veltro {

ConnectionWindow::ConnectionWindow(const SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent), sessionRecord(std::make_unique<Session>(settings, *this)),
      details(new QPlainTextEdit(this)), execTimePane(new QLabel(this)),
      resultInfoPane(new QLabel(this)) {
    setWindowTitle("Veltro (using ODBC)");
    details->setReadOnly(true);
    setCentralWidget(details);
    execTimePane->setMinimumWidth(100);
    resultInfoPane->setMinimumWidth(230);
    statusBar()->addPermanentWidget(execTimePane);
    statusBar()->addPermanentWidget(resultInfoPane);
    execTimePane->setText(QString::fromStdString(sessionRecord->execTimeText));
    resultInfoPane->setText(QString::fromStdString(sessionRecord->resultInfoText));
    resize(900, 600);
}

ConnectionWindow::~ConnectionWindow() = default;

bool ConnectionWindow::connectSession(const std::optional<std::string>& connectString) {
    const bool connected = sessionRecord->Connect(connectString, std::nullopt);
    if (connected) {
        showSessionDetails();
    }
    return connected;
}

void ConnectionWindow::showSessionDetails() {
    const Session& s = *sessionRecord;
    const auto yesNo = [](bool flag) {
        return flag ? QStringLiteral("yes") : QStringLiteral("no");
    };
    setWindowTitle(QString::fromStdString(s.dataSourceName) + " - Veltro (using ODBC)");
    details->setPlainText(QStringLiteral("Data source: %1\nDBMS: %2\n\n"
                                         "Multiple result sets: %3\nCancel: %4\nRow counts: %5\n"
                                         "SQL Server family: %6\n")
                              .arg(QString::fromStdString(s.dataSourceName),
                                   QString::fromStdString(s.dbmsName),
                                   yesNo(s.supportsMultipleResults), yesNo(s.supportsCancel),
                                   yesNo(s.supportsRowCount), yesNo(s.isSqlServerFamily)));
    resultInfoPane->setText(QString::fromStdString(s.resultInfoText));
}

void ConnectionWindow::setFrameStatusText(const std::string& text) {
    statusBar()->showMessage(QString::fromStdString(text));
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ConnectionWindow::beginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void ConnectionWindow::endWaitCursor() {
    QApplication::restoreOverrideCursor();
}

void ConnectionWindow::setExecTimeText(const std::string& text) {
    execTimePane->setText(QString::fromStdString(text));
}

bool ConnectionWindow::askRetryConnect(const std::string& errorText) {
    return QMessageBox::question(this, "Veltro (using ODBC)", QString::fromStdString(errorText),
                                 QMessageBox::Retry | QMessageBox::Cancel,
                                 QMessageBox::Retry) == QMessageBox::Retry;
}

std::optional<std::string> ConnectionWindow::promptConnectString() {
    bool accepted = false;
    const QString text = QInputDialog::getText(
        this, "Select Data Source",
        "ODBC connect string (for example DSN=name;UID=user;PWD=...):", QLineEdit::Normal,
        QString(), &accepted);
    if (!accepted || text.trimmed().isEmpty()) {
        return std::nullopt;
    }
    return text.toStdString();
}

} // namespace veltro
