#include "driverinfo/Misc1Model.h"

#include "driverinfo/InfoSource.h"

#include <sqlext.h>

namespace veltro {

void Misc1Model::RefreshInfo() {
    if (!source.isConnected()) {
        return;
    }
    const std::uint16_t capable = source.GetInfoShort(SQL_TXN_CAPABLE);
    if (capable == 0) {
        // Without transactions the other answers mean nothing; bookmarks, locks and
        // sensitivity are not asked and keep their states.
        transactionCapabilities = "None";
        cursorCommitBehavior = "<n/a>";
        cursorRollbackBehavior = "<n/a>";
        isolationLevels = 0;
        defaultIsolation = "<n/a>";
        multipleActiveTransactions = "<n/a>";
        return;
    }
    setByCode(transactionCapabilities, capable,
              {{1, "DDL statements cause an error"},
               {2, "DDL and DML statements supported"},
               {3, "DDL statements cause a commit"},
               {4, "DDL statements are ignored"}});
    const std::initializer_list<CodeText> behaviors = {
        {0, "Close Cursors, Delete Statements"}, {1, "Close Cursors"}, {2, "Preserve Cursors"}};
    setByCode(cursorCommitBehavior, source.GetInfoShort(SQL_CURSOR_COMMIT_BEHAVIOR), behaviors);
    setByCode(cursorRollbackBehavior, source.GetInfoShort(SQL_CURSOR_ROLLBACK_BEHAVIOR), behaviors);
    isolationLevels = source.GetInfoLong(SQL_TXN_ISOLATION_OPTION);
    setByCode(defaultIsolation, static_cast<long>(source.GetInfoLong(SQL_DEFAULT_TXN_ISOLATION)),
              {{1, "Read Uncommitted"},
               {2, "Read Committed"},
               {4, "Repeatable Read"},
               {8, "Serializable"}});
    multipleActiveTransactions = source.SupportedInfo(SQL_MULTIPLE_ACTIVE_TXN);
    bookmarkPersistence = source.GetInfoLong(SQL_BOOKMARK_PERSISTENCE);
    lockTypes = source.GetInfoLong(SQL_LOCK_TYPES);
    staticSensitivity = source.GetInfoLong(SQL_STATIC_SENSITIVITY);
}

void Misc1Model::WriteReport(std::string& report) {
    if (!source.isConnected()) {
        return;
    }
    report += "Miscellaneous\n-------------\n\n";
    report += " Transaction Capabilities - " + transactionCapabilities + "\n";
    report += "   Cursor Commit Behavior - " + cursorCommitBehavior + "\n";
    report += " Cursor Rollback Behavior - " + cursorRollbackBehavior + "\n";
    writeListLine(
        report, "  Trans. Isolation Levels - ", isolationLevels,
        {{"Read Commit", 0x2}, {"Read Uncommit", 0x1}, {"Repeat Read", 0x4}, {"Serializable", 0x8}},
        "<none>", "\n");
    report += " Default Trans. Isolation - " + defaultIsolation + "\n";
    report += "   Multiple Active Trans. - " + multipleActiveTransactions + "\n";
    writeListLine(report, "     Bookmark Persistance - ", bookmarkPersistence,
                  {{"Close", 0x1},
                   {"Delete", 0x2},
                   {"Drop", 0x4},
                   {"Other HSTMT", 0x20},
                   {"Scroll", 0x40},
                   {"Transaction", 0x8},
                   {"Update", 0x10}},
                  "<none>", "\n");
    writeListLine(report, "               Lock Types - ", lockTypes,
                  {{"Exclusive", 0x2}, {"No Change", 0x1}, {"Unlock", 0x4}}, "<none>", "\n");
    writeListLine(report, "       Static Sensitivity - ", staticSensitivity,
                  {{"Additions", 0x1}, {"Deletions", 0x2}, {"Updates", 0x4}}, "<none>", "\n\n");
}

std::vector<PageField> Misc1Model::fields() const {
    return {
        {"Transaction Capabilities:", &transactionCapabilities},
        {"Cursor Commit Behavior:", &cursorCommitBehavior},
        {"Cursor Rollback Behavior:", &cursorRollbackBehavior},
        {"Default Transaction Isolation Level:", &defaultIsolation},
        {"Multiple Active Transactions:", &multipleActiveTransactions},
    };
}

std::vector<PageCheckGroup> Misc1Model::checkGroups() const {
    return {
        checkGroup("Transaction Isolation Levels:", isolationLevels,
                   {{"Read Uncommitted", 0x1},
                    {"Read Committed", 0x2},
                    {"Repeatable Read", 0x4},
                    {"Serializable", 0x8}}),
        checkGroup("Bookmark Persistence:", bookmarkPersistence,
                   {{"Close", 0x1},
                    {"Delete", 0x2},
                    {"Drop", 0x4},
                    {"Transaction", 0x8},
                    {"Update", 0x10},
                    {"Other HSTMT", 0x20},
                    {"Scroll", 0x40}}),
        checkGroup("Lock Types:", lockTypes,
                   {{"No Change", 0x1}, {"Exclusive", 0x2}, {"Unlock", 0x4}}),
        checkGroup("Static Sensitivity:", staticSensitivity,
                   {{"Additions", 0x1}, {"Deletions", 0x2}, {"Updates", 0x4}}),
    };
}

} // namespace veltro
