#pragma once

#include "session/Session.h"
#include "session/SessionHost.h"

#include <QMainWindow>

#include <memory>

class QLabel;
class QPlainTextEdit;

namespace veltro {

class SettingsStore;

// A window for one connected session: what the driver is and can do, with the
// execution-time and result-information panes below.
class ConnectionWindow : public QMainWindow, public SessionHost {
    Q_OBJECT
public:
    explicit ConnectionWindow(const SettingsStore& settings, QWidget* parent = nullptr);
    ~ConnectionWindow() override;

    bool connectSession(const std::optional<std::string>& connectString);
    Session& session() { return *sessionRecord; }

    void setFrameStatusText(const std::string& text) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    void setExecTimeText(const std::string& text) override;
    bool askRetryConnect(const std::string& errorText) override;
    std::optional<std::string> promptConnectString() override;

private:
    void showSessionDetails();

    std::unique_ptr<Session> sessionRecord;
    QPlainTextEdit* details;
    QLabel* execTimePane;
    QLabel* resultInfoPane;
};

} // namespace veltro
