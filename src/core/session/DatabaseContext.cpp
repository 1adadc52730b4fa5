#include "session/DatabaseContext.h"

#include "common/TextCompare.h"
#include "odbc/CRecordsetEx.h"
#include "odbc/DatabaseError.h"
#include "session/DatabaseBoxView.h"
#include "session/DatabaseSql.h"
#include "session/Session.h"

#include <new>

namespace veltro {

namespace {

constexpr const char* errorsOccurredText = "Errors occurred.";

// Shows the wait cursor for as long as it lives.
class BoxWaitCursor {
public:
    explicit BoxWaitCursor(DatabaseBoxView& owner) : view(owner) { view.beginWaitCursor(); }
    ~BoxWaitCursor() { view.endWaitCursor(); }
    BoxWaitCursor(const BoxWaitCursor&) = delete;
    BoxWaitCursor& operator=(const BoxWaitCursor&) = delete;

private:
    DatabaseBoxView& view;
};

// How the box lists a database: a name with a blank in brackets, as a statement names it.
std::string listedName(const std::string& name) {
    return name.find(' ') == std::string::npos ? name : "[" + name + "]";
}

} // namespace

DatabaseContext::DatabaseContext(Session& owner, DatabaseBoxView& boxView)
    : session(owner), view(boxView) {}

void DatabaseContext::setUp(const std::optional<std::string>& database) {
    session.currentDatabase.clear();
    if (!session.capabilities().isSqlServerFamily) {
        entries.clear();
        entries.addSorted(notSupportedEntry);
        entries.select(0);
        show();
        view.setDatabaseBoxEnabled(false);
        return;
    }
    if (database && !equalsNoCase(*database, noDataEntry)) {
        // A database that cannot be switched to leaves the connection where it started.
        UseDatabase(*database);
    }
    FillDatabaseList();
}

bool DatabaseContext::FillDatabaseList() {
    entries.clear();
    bool ran = false;
    std::string errorText;
    try {
        CRecordsetEx names(session.connection);
        ran = names.Execute(databaseListSql);
        if (ran) {
            if (names.IsBOF()) {
                entries.addSorted(noDataEntry);
                entries.select(0);
                view.setDatabaseBoxEnabled(false);
            }
            std::string name;
            while (!names.IsEOF()) {
                names.GetFieldValue(0, name);
                entries.addSorted(listedName(name));
                names.MoveNext();
            }
            entries.insertAt(entries.size(), refreshEntry);
            view.setDatabaseBoxEnabled(true);
        }
    } catch (const DatabaseError& e) {
        errorText = "CDBException::m_nRetCode == " + std::to_string(e.returnCode());
    } catch (const std::bad_alloc&) {
        errorText = "Out-of-memory";
    } catch (...) {
        errorText = errorsOccurredText;
    }
    if (!ran) {
        entries.addSorted(errorText);
        entries.select(0);
    } else if (entries.size() != 0) {
        SelectCurrentDatabase();
    }
    show();
    return ran;
}

bool DatabaseContext::SelectCurrentDatabase() {
    const CurrentDatabaseAnswer answer = queryCurrentDatabase(*session.batchRecordset);
    if (answer.name) {
        applyCurrentDatabase(*answer.name);
    }
    return answer.ran;
}

bool DatabaseContext::UseDatabase(const std::string& name) {
    try {
        runUseDatabase(*session.batchRecordset, name);
        return true;
    } catch (...) {
        return false;
    }
}

void DatabaseContext::SelectionChanged(int index) {
    const BoxWaitCursor wait(view);
    entries.select(index);
    const std::string text = entries.selectedText();
    if (equalsNoCase(text, noDataEntry) || equalsNoCase(text, notSupportedEntry)) {
        return;
    }
    if (equalsNoCase(text, refreshEntry)) {
        FillDatabaseList();
        return;
    }
    if (text == session.currentDatabase) {
        return;
    }
    std::string failure;
    try {
        runUseDatabase(*session.batchRecordset, text);
        session.currentDatabase = text;
    } catch (const DatabaseError& e) {
        failure = e.displayText();
    } catch (...) {
        failure = errorsOccurredText;
    }
    selectCurrentEntry();
    show();
    if (!failure.empty()) {
        view.showDatabaseError(failure);
    }
}

void DatabaseContext::applyCurrentDatabase(const std::string& name) {
    session.currentDatabase = name;
    selectCurrentEntry();
    show();
}

bool DatabaseContext::boxEnabled(bool batchRunning) const {
    return session.isConnected() && session.capabilities().isSqlServerFamily && !batchRunning;
}

// The entry that begins with the current database's name, or with its bracketed form
// when the name has a blank, so that such a database is shown too. Without either the
// selection stays as it was.
void DatabaseContext::selectCurrentEntry() {
    const std::string& name = session.currentDatabase;
    if (name.empty()) {
        entries.select(DatabaseList::noSelection);
        return;
    }
    if (!entries.selectStartingWith(name)) {
        entries.selectStartingWith(listedName(name));
    }
}

void DatabaseContext::show() {
    view.showDatabaseList(entries);
}

} // namespace veltro
