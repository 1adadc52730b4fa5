#pragma once

#include <QObject>

#include <memory>
#include <string>
#include <unordered_map>

namespace veltro {

class CChildFrame;
class CMainFrame;
class CVeltroDoc;
class RecoveryFolder;
class RecoveryWriter;

// Keeps the text of every changed query document in a recovery file of this instance, so
// that it survives a crash, and offers what dead instances left behind. A document's file
// is written at most a few seconds after its first unsaved change, on the writer's thread,
// and removed when the document is saved or closed.
class DocumentRecovery : public QObject {
    Q_OBJECT
public:
    // Takes this instance's part of the folder; a folder that cannot be used is reported
    // once, and the program goes on without recovery.
    DocumentRecovery(CMainFrame& frame, const std::string& folder);
    ~DocumentRecovery() override;

    // Watches the session's document from now on.
    void watch(CChildFrame* session);
    // Offers the documents of dead instances; how many were restored. With none to offer,
    // says so only when asked from the menu.
    int offerRecovery(bool fromMenu);
    // Returns once every write asked for so far is done (tests, and the end of a run).
    void waitForWrites();

    bool enabled() const { return writer != nullptr; }
    // How long after a change at most its text is written.
    static constexpr int writeDelayMs = 2000;

private:
    void reportProblem(const std::string& text);

    CMainFrame& frame;
    std::unique_ptr<RecoveryFolder> folder;
    std::unique_ptr<RecoveryWriter> writer;
    int documentCount = 0;
    // The recovery file of each watched document.
    std::unordered_map<const CVeltroDoc*, std::string> paths;
    bool problemReported = false;
    // Why there is no recovery in this run, when there is none.
    std::string unavailable;
};

} // namespace veltro
