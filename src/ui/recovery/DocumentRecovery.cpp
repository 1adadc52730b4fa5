#include "recovery/DocumentRecovery.h"

#include "app/CMainFrame.h"
#include "app/PromptService.h"
#include "common/AppError.h"
#include "editor/CQryView.h"
#include "editor/CVeltroDoc.h"
#include "history/HistoryEntry.h"
#include "recovery/RecoveryDialog.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryWriter.h"
#include "session/CChildFrame.h"
#include "session/Session.h"

#include <QFile>
#include <QTimer>

#include <chrono>

namespace veltro {

namespace {

// What the changes since a document's last write left for the next one.
struct PendingWrite {
    std::chrono::system_clock::time_point lastChange;
    // The writer was asked to make memory ready for the text.
    bool memoryAsked = false;
};

} // namespace

DocumentRecovery::DocumentRecovery(CMainFrame& mainFrame, const std::string& where)
    : frame(mainFrame) {
    try {
        folder = std::make_unique<RecoveryFolder>(where);
    } catch (const AppError& failure) {
        unavailable = failure.what();
        reportProblem(unavailable);
        return;
    }
    writer = std::make_unique<RecoveryWriter>([this](const std::string& text) {
        QMetaObject::invokeMethod(
            this, [this, text] { reportProblem(text); }, Qt::QueuedConnection);
    });
}

// The writer finishes before the folder removes this instance's files.
DocumentRecovery::~DocumentRecovery() {
    writer.reset();
}

void DocumentRecovery::reportProblem(const std::string& text) {
    if (problemReported) {
        return;
    }
    problemReported = true;
    PromptService::current().message(
        &frame,
        QStringLiteral("Unsaved queries cannot be kept for recovery after a crash:\n%1\n\n"
                       "Editing goes on as before; save your work to keep it.")
            .arg(QString::fromStdString(text)),
        PromptButtons::ok, PromptIcon::warning);
}

void DocumentRecovery::watch(CChildFrame* session) {
    if (!writer) {
        return;
    }
    const std::string path = folder->documentPath(++documentCount);
    CVeltroDoc* doc = &session->document();
    paths[doc] = path;
    auto* pending = new QTimer(session);
    pending->setSingleShot(true);
    pending->setInterval(writeDelayMs);
    auto write = std::make_shared<PendingWrite>();
    RecoveryWriter* files = writer.get();

    // While typing goes on the timer is not restarted: the text is kept every few seconds.
    // Every connection lives with this object, which owns the writer: the session's own
    // objects go before it, with their connections.
    connect(&session->queryView(), &QsciScintilla::textChanged, this,
            [pending, write, files, session] {
                write->lastChange = std::chrono::system_clock::now();
                if (!pending->isActive()) {
                    pending->start();
                }
                // Once per write, not per key: the writer's thread makes memory ready for the
                // text, with some room for what is typed until the timer runs out.
                if (!write->memoryAsked) {
                    write->memoryAsked = true;
                    const auto size = static_cast<std::size_t>(
                        session->queryView().SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
                    files->prepareBuffer(size + size / 8);
                }
            });
    connect(pending, &QTimer::timeout, this, [files, path, doc, session, write] {
        write->memoryAsked = false;
        if (!doc->isModified()) {
            files->remove(path);
            return;
        }
        RecoveryRecord record;
        record.title = doc->title().toStdString();
        record.fileName = QFile::encodeName(doc->pathName()).toStdString();
        record.dataSource = withoutPassword(session->session().connectString);
        record.changedAt =
            std::chrono::duration_cast<std::chrono::seconds>(write->lastChange.time_since_epoch())
                .count();
        record.encoding = doc->encoding();
        // One copy of the text here, into memory a written text left; encoding it is the
        // writer's work.
        std::string text = files->takeBuffer();
        if (doc->view() != nullptr) {
            text.assign(doc->view()->rawText());
        }
        files->save(path, std::move(record), std::move(text));
    });
    connect(doc, &CVeltroDoc::modifiedChanged, this, [files, path, pending](bool modified) {
        if (modified) {
            pending->start();
        } else {
            pending->stop();
            files->remove(path);
        }
    });
    // A closed window keeps nothing.
    connect(session, &QObject::destroyed, this, [this, files, path, doc] {
        files->remove(path);
        paths.erase(doc);
    });
}

int DocumentRecovery::offerRecovery(bool fromMenu) {
    if (!folder) {
        if (fromMenu) {
            PromptService::current().message(
                &frame,
                QStringLiteral("Unsaved queries are not kept for recovery in this run:\n%1")
                    .arg(QString::fromStdString(unavailable)),
                PromptButtons::ok, PromptIcon::information);
        }
        return 0;
    }
    OrphanClaim claim = folder->claimOrphans();
    if (claim.documents().empty()) {
        if (fromMenu) {
            PromptService::current().message(&frame, "There are no unsaved queries to recover.",
                                             PromptButtons::ok, PromptIcon::information);
        }
        return 0;
    }
    RecoveryDialog dialog(
        claim,
        [this, &claim](std::size_t index) {
            const RecoveryRecord& record = claim.documents()[index].record;
            const std::optional<std::string> source =
                record.dataSource.empty() ? std::nullopt : std::optional(record.dataSource);
            CVeltroDoc* doc = frame.newConnection(std::nullopt, source, std::nullopt);
            if (doc == nullptr) {
                return false;
            }
            doc->restoreText(record.bytes, record.encoding,
                             QFile::decodeName(QByteArray::fromStdString(record.fileName)));
            if (const auto kept = paths.find(doc); kept != paths.end()) {
                claim.adopt(index, kept->second);
            } else {
                claim.discard(index);
            }
            return true;
        },
        &frame);
    PromptService::current().runModal(dialog);
    return dialog.restoredCount();
}

void DocumentRecovery::waitForWrites() {
    if (writer) {
        writer->waitIdle();
    }
}

} // namespace veltro
