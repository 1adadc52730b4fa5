// ODBC entry points for statements. A function the profile declares missing
// answers IM001, as the driver manager would for a driver without it.
#include "ApiSupport.h"

using namespace veltro::testdriver;

namespace {

Statement* statementOf(SQLHSTMT handle) {
    return static_cast<Statement*>(handle);
}

template <typename Body> SQLRETURN call(SQLHSTMT handle, SQLUSMALLINT function, Body&& body) {
    Statement* statement = statementOf(handle);
    if (statement->connection().refuseMissing(function, statement->diagnostics()))
        return SQL_ERROR;
    return guarded(statement->diagnostics(), [&] { return body(*statement); });
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
    return call(handle, SQL_API_SQLEXECDIRECT, [&](Statement& statement) {
        return statement.execDirect(textArgument(text, length));
    });
}

SQLRETURN SQL_API SQLPrepare(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
    return call(handle, SQL_API_SQLPREPARE, [&](Statement& statement) {
        return statement.prepare(textArgument(text, length));
    });
}

SQLRETURN SQL_API SQLExecute(SQLHSTMT handle) {
    return call(handle, SQL_API_SQLEXECUTE,
                [&](Statement& statement) { return statement.execute(); });
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT handle, SQLSMALLINT* count) {
    return call(handle, SQL_API_SQLNUMRESULTCOLS,
                [&](Statement& statement) { return statement.numResultCols(count); });
}

SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT handle, SQLUSMALLINT column, SQLCHAR* name,
                                 SQLSMALLINT bufferLength, SQLSMALLINT* nameLength,
                                 SQLSMALLINT* type, SQLULEN* size, SQLSMALLINT* digits,
                                 SQLSMALLINT* nullable) {
    return call(handle, SQL_API_SQLDESCRIBECOL, [&](Statement& statement) {
        return statement.describeCol(column, name, bufferLength, nameLength, type, size, digits,
                                     nullable);
    });
}

SQLRETURN SQL_API SQLColAttribute(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field,
                                  SQLPOINTER text, SQLSMALLINT bufferLength, SQLSMALLINT* length,
                                  SQLLEN* number) {
    return call(handle, SQL_API_SQLCOLATTRIBUTE, [&](Statement& statement) {
        return statement.colAttribute(column, field, text, bufferLength, length, number);
    });
}

SQLRETURN SQL_API SQLBindCol(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT type,
                             SQLPOINTER target, SQLLEN bufferLength, SQLLEN* indicator) {
    return call(handle, SQL_API_SQLBINDCOL, [&](Statement& statement) {
        return statement.bindCol(column, type, target, bufferLength, indicator);
    });
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT handle) {
    return call(handle, SQL_API_SQLFETCH, [&](Statement& statement) { return statement.fetch(); });
}

SQLRETURN SQL_API SQLGetData(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT type,
                             SQLPOINTER target, SQLLEN bufferLength, SQLLEN* indicator) {
    return call(handle, SQL_API_SQLGETDATA, [&](Statement& statement) {
        return statement.getData(column, type, target, bufferLength, indicator);
    });
}

SQLRETURN SQL_API SQLMoreResults(SQLHSTMT handle) {
    return call(handle, SQL_API_SQLMORERESULTS,
                [&](Statement& statement) { return statement.moreResults(); });
}

SQLRETURN SQL_API SQLRowCount(SQLHSTMT handle, SQLLEN* count) {
    return call(handle, SQL_API_SQLROWCOUNT,
                [&](Statement& statement) { return statement.rowCount(count); });
}

SQLRETURN SQL_API SQLCancel(SQLHSTMT handle) {
    // Unguarded by the statement's lock on purpose: it must reach a running call.
    return call(handle, SQL_API_SQLCANCEL,
                [&](Statement& statement) { return statement.cancel(); });
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option) {
    if (option == SQL_DROP) {
        statementOf(handle)->connection().destroyStatement(statementOf(handle));
        return SQL_SUCCESS;
    }
    return call(handle, SQL_API_SQLFREESTMT,
                [&](Statement& statement) { return statement.freeStmt(option); });
}

SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT handle) {
    return call(handle, SQL_API_SQLCLOSECURSOR,
                [&](Statement& statement) { return statement.closeCursor(); });
}

SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value,
                                 SQLINTEGER) {
    return call(handle, SQL_API_SQLSETSTMTATTR,
                [&](Statement& statement) { return statement.setAttribute(attribute, value); });
}

SQLRETURN SQL_API SQLGetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value,
                                 SQLINTEGER bufferLength, SQLINTEGER* length) {
    return call(handle, SQL_API_SQLGETSTMTATTR, [&](Statement& statement) {
        return statement.getAttribute(attribute, value, bufferLength, length);
    });
}

SQLRETURN SQL_API SQLTables(SQLHSTMT handle, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                            SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* table,
                            SQLSMALLINT tableLength, SQLCHAR* types, SQLSMALLINT typesLength) {
    return call(handle, SQL_API_SQLTABLES, [&](Statement& statement) {
        return statement.catalog([&](CatalogBuilder& builder) {
            return builder.tables(
                optionalArgument(catalog, catalogLength), optionalArgument(schema, schemaLength),
                optionalArgument(table, tableLength), optionalArgument(types, typesLength));
        });
    });
}

SQLRETURN SQL_API SQLColumns(SQLHSTMT handle, SQLCHAR*, SQLSMALLINT, SQLCHAR* schema,
                             SQLSMALLINT schemaLength, SQLCHAR* table, SQLSMALLINT tableLength,
                             SQLCHAR* column, SQLSMALLINT columnLength) {
    return call(handle, SQL_API_SQLCOLUMNS, [&](Statement& statement) {
        return statement.catalog([&](CatalogBuilder& builder) {
            return builder.columns(optionalArgument(schema, schemaLength),
                                   optionalArgument(table, tableLength),
                                   optionalArgument(column, columnLength));
        });
    });
}

SQLRETURN SQL_API SQLProcedures(SQLHSTMT handle, SQLCHAR*, SQLSMALLINT, SQLCHAR* schema,
                                SQLSMALLINT schemaLength, SQLCHAR* procedure,
                                SQLSMALLINT procedureLength) {
    return call(handle, SQL_API_SQLPROCEDURES, [&](Statement& statement) {
        return statement.catalog([&](CatalogBuilder& builder) {
            return builder.procedures(optionalArgument(schema, schemaLength),
                                      optionalArgument(procedure, procedureLength));
        });
    });
}

SQLRETURN SQL_API SQLGetTypeInfo(SQLHSTMT handle, SQLSMALLINT dataType) {
    return call(handle, SQL_API_SQLGETTYPEINFO, [&](Statement& statement) {
        return statement.catalog(
            [&](CatalogBuilder& builder) { return builder.typeInfo(dataType); });
    });
}

} // extern "C"
