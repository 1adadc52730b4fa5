#include "editor/CVeltroDoc.h"

#include "app/PromptService.h"
#include "app/WaitCursor.h"
#include "common/FileErrorText.h"
#include "editor/CQryView.h"
#include "editor/DocumentTitle.h"
#include "editor/QueryViewOwner.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <sys/stat.h>

namespace veltro {

namespace {

const QString queryFilter = QStringLiteral("Query Files (*.qry)");
const QString queryExtension = QStringLiteral(".qry");
constexpr const char* pleaseWait = "Please wait...";

// Why a save failed, asked of the file system after the fact: the save's own errno is
// not reliable once Qt has cleaned up its temporary file.
int saveFailureCause(const QString& fileName, int errnoAtFailure) {
    const QFileInfo target(fileName);
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    struct stat info {};
    if (::stat(folder.constData(), &info) != 0) {
        return fileErrorCauseOf(errno, true);
    }
    if (!S_ISDIR(info.st_mode)) {
        return fileErrorBadPath;
    }
    if (target.isDir() || !QFileInfo(target.absolutePath()).isWritable() ||
        (target.exists() && !target.isWritable())) {
        return fileErrorAccessDenied;
    }
    return errnoAtFailure != 0 ? fileErrorCauseOf(errnoAtFailure, true) : fileErrorGeneric;
}

} // namespace

CVeltroDoc::CVeltroDoc(QueryViewOwner* owner, QObject* parent) : QObject(parent), owner(owner) {}

void CVeltroDoc::attachView(CQryView* view) {
    queryView = view;
    connect(view, &QsciScintilla::textChanged, this, [this] { setModified(true); });
}

void CVeltroDoc::setModified(bool value) {
    if (modified != value) {
        modified = value;
        emit modifiedChanged(modified);
    }
}

void CVeltroDoc::setTitleVerbatim(const QString& title) {
    if (currentTitle != title) {
        currentTitle = title;
        emit titleChanged(currentTitle);
    }
}

void CVeltroDoc::setTitle(const QString& proposedTitle) {
    const std::string connection = owner != nullptr ? owner->connectionName() : std::string();
    std::string preview;
    if (queryView != nullptr) {
        preview = titlePreviewSource(queryView->textUtf8(), queryView->selectionStart(),
                                     queryView->selectionEnd());
    } else {
        preview = titlePreviewSource({}, 0, 0);
    }
    setTitleVerbatim(
        QString::fromStdString(composeTitle(proposedTitle.toStdString(), connection, preview)));
}

QWidget* CVeltroDoc::dialogParent() const {
    return queryView != nullptr ? queryView->window() : nullptr;
}

void CVeltroDoc::reportFileError(const QString& fileName, const std::string& cause) {
    PromptService::current().message(dialogParent(),
                                     QStringLiteral("File Path Name: <%1> ").arg(fileName) +
                                         QString::fromStdString(cause),
                                     PromptButtons::ok, PromptIcon::warning);
}

bool CVeltroDoc::openFile(const QString& fileName) {
    if (owner != nullptr) {
        owner->setStatusText(pleaseWait);
    }
    QueryFileContents contents;
    {
        WaitCursor wait;
        contents = readQueryFile(QFile::encodeName(fileName).toStdString());
    }
    if (owner != nullptr) {
        owner->setStatusText({});
    }
    switch (contents.status) {
    case QueryFileStatus::ok:
        break;
    case QueryFileStatus::failed:
        reportFileError(fileName, FileErrorText(fileErrorCauseOf(contents.errnoValue, false)));
        return false;
    case QueryFileStatus::notAFile:
        reportFileError(fileName, "This is not a file that can be opened as a query.");
        return false;
    case QueryFileStatus::tooLarge:
        reportFileError(fileName, "The file is too large to open as a query (more than " +
                                      std::to_string(maxQueryFileBytes / (1024 * 1024)) + " MB).");
        return false;
    }
    takeText(contents.bytes, encodingOf(contents.bytes), fileName, false);
    return true;
}

void CVeltroDoc::restoreText(const std::string& bytes, QueryFileEncoding encoding,
                             const QString& fileName) {
    takeText(bytes, encoding, fileName, true);
}

void CVeltroDoc::takeText(const std::string& bytes, QueryFileEncoding encoding,
                          const QString& fileName, bool modifiedAfter) {
    fileEncoding = encoding;
    if (queryView != nullptr) {
        queryView->setTextUtf8(decodeQueryText(bytes, encoding));
        queryView->setSelectionRange(0, 0);
        queryView->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    }
    if (!fileName.isEmpty()) {
        path = QFileInfo(fileName).absoluteFilePath();
        emit pathNameChanged(path);
        setTitle(QFileInfo(fileName).fileName());
    }
    setModified(modifiedAfter);
}

bool CVeltroDoc::writeFile(const QString& fileName) {
    const std::string text = queryView != nullptr ? queryView->textUtf8() : std::string();
    std::optional<std::string> bytes = encodeQueryText(text, fileEncoding);
    if (!bytes) {
        // Text edited beyond what Latin-1 holds can only be kept whole as UTF-8.
        fileEncoding = QueryFileEncoding::utf8;
        bytes = text;
    }
    QSaveFile file(fileName);
    errno = 0;
    // Unbuffered, so that a short write (a full disk) shows in write()'s count: a buffered
    // QSaveFile can commit a cut-off file.
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (written) {
        written = file.write(bytes->data(), static_cast<qint64>(bytes->size())) ==
                      static_cast<qint64>(bytes->size()) &&
                  file.commit();
    }
    if (!written) {
        const int errnoAtFailure = errno;
        file.cancelWriting();
        reportFileError(fileName, FileErrorText(saveFailureCause(fileName, errnoAtFailure)));
    }
    return written;
}

bool CVeltroDoc::saveTo(const QString& fileName) {
    // The bare file title while saving; the composed one comes back if the save fails.
    const QString composedTitle = currentTitle;
    setTitleVerbatim(QString::fromStdString(bareFileTitle(composedTitle.toStdString())));
    if (!writeFile(fileName)) {
        setTitleVerbatim(composedTitle);
        return false;
    }
    path = QFileInfo(fileName).absoluteFilePath();
    emit pathNameChanged(path);
    setModified(false);
    setTitle(QFileInfo(fileName).fileName());
    return true;
}

bool CVeltroDoc::save() {
    return path.isEmpty() ? saveAs() : saveTo(path);
}

bool CVeltroDoc::saveAs() {
    const QString composedTitle = currentTitle;
    setTitleVerbatim(QString::fromStdString(bareFileTitle(composedTitle.toStdString())));
    QString suggested = currentTitle;
    if (!suggested.contains(QLatin1Char('.'))) {
        suggested += queryExtension;
    }
    if (!path.isEmpty()) {
        suggested = QFileInfo(path).dir().filePath(suggested);
    }
    const QString chosen = PromptService::current().saveFileName(
        dialogParent(), QStringLiteral("Save As"), suggested, queryFilter, queryExtension.mid(1));
    if (chosen.isEmpty()) {
        setTitleVerbatim(composedTitle);
        return false;
    }
    setTitleVerbatim(composedTitle);
    return saveTo(chosen);
}

bool CVeltroDoc::saveModified() {
    if (!modified) {
        return true;
    }
    // Named as the title names it, for a file as for an untitled query.
    const QString name = QString::fromStdString(bareFileTitle(currentTitle.toStdString()));
    switch (PromptService::current().message(dialogParent(),
                                             QStringLiteral("Save changes to %1?").arg(name),
                                             PromptButtons::yesNoCancel, PromptIcon::warning)) {
    case PromptAnswer::yes:
        return save();
    case PromptAnswer::no:
        return true;
    default:
        return false;
    }
}

} // namespace veltro
