#pragma once

#include "editor/QueryFile.h"

#include <QObject>
#include <QPointer>
#include <QString>

namespace veltro {

class CQryView;
class QueryViewOwner;

// The query document behind a session window: the editor's text, its query file and the
// window title. The session window owns it; the connection stays with the session.
class CVeltroDoc : public QObject {
    Q_OBJECT

public:
    explicit CVeltroDoc(QueryViewOwner* owner, QObject* parent = nullptr);

    // The editor that shows the text; the document reads and writes the text through it.
    void attachView(CQryView* view);
    CQryView* view() const { return queryView; }

    QString pathName() const { return path; }
    QString title() const { return currentTitle; }
    // Composes the window title from a proposed base title (a file name or an untitled
    // name) with the connection name and a preview of the query.
    void setTitle(const QString& proposedTitle);

    bool isModified() const { return modified; }
    void setModified(bool value);

    // Loads a query file, after "Please wait..." in the session's status pane. On failure
    // the user is told why and the document is left as it was.
    bool openFile(const QString& fileName);
    // Puts back text kept for recovery (file bytes in their encoding) and its file name,
    // marked modified.
    void restoreText(const std::string& bytes, QueryFileEncoding encoding, const QString& fileName);
    // Save (Ctrl+S): to the path, or as Save As for a new document.
    bool save();
    // Save As: asks for a file name, proposing the bare file title.
    bool saveAs();
    // Asks whether to save a modified document; false when the user cancelled or the
    // save failed.
    bool saveModified();

    // The encoding the file is written back in; Latin-1 for files that were not UTF-8.
    QueryFileEncoding encoding() const { return fileEncoding; }

signals:
    void titleChanged(const QString& title);
    void modifiedChanged(bool modified);
    void pathNameChanged(const QString& path);

private:
    // Shows a file's bytes in the editor with nothing to undo, and takes the file's name when
    // there is one.
    void takeText(const std::string& bytes, QueryFileEncoding encoding, const QString& fileName,
                  bool modifiedAfter);
    bool saveTo(const QString& fileName);
    bool writeFile(const QString& fileName);
    void setTitleVerbatim(const QString& title);
    void reportFileError(const QString& fileName, const std::string& cause);
    QWidget* dialogParent() const;

    QueryViewOwner* owner;
    QPointer<CQryView> queryView;
    QString path;
    QString currentTitle;
    bool modified = false;
    QueryFileEncoding fileEncoding = QueryFileEncoding::utf8;
};

} // namespace veltro
