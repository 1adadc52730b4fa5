#include "session/DatabaseSql.h"

#include "odbc/CRecordsetEx.h"
#include "odbc/DatabaseError.h"

namespace veltro {

CurrentDatabaseAnswer queryCurrentDatabase(CRecordsetEx& recordset) {
    closeQuietly(recordset);
    CurrentDatabaseAnswer answer;
    try {
        answer.ran = recordset.Execute(currentDatabaseSql);
        if (answer.ran && !recordset.IsBOF()) {
            std::string name;
            recordset.GetFieldValue(0, name);
            answer.name = name;
        }
    } catch (const DatabaseError&) {
        return {};
    }
    closeQuietly(recordset);
    return answer;
}

void runUseDatabase(CRecordsetEx& recordset, const std::string& name) {
    closeQuietly(recordset);
    // Execution and fetch failures throw with the statement's diagnostics.
    if (!recordset.Execute("use " + name)) {
        throw *recordset.allocationFailure();
    }
    // Every result is read to its end, its rows dropped.
    const auto dropRows = [&recordset] {
        while (recordset.resultColumnCount() > 0 && !recordset.IsEOF()) {
            recordset.MoveNext();
        }
    };
    dropRows();
    while (recordset.FlushResultSet()) {
        recordset.DescribeColumns();
        dropRows();
    }
    closeQuietly(recordset);
}

} // namespace veltro
