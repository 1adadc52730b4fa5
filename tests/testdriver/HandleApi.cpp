// ODBC entry points for handles, connections, information and diagnostics.
#include "ApiSupport.h"
#include "OutputBuffer.h"

using namespace veltro::testdriver;

namespace {

Environment* environmentOf(SQLHANDLE handle) {
    return static_cast<Environment*>(handle);
}
Connection* connectionOf(SQLHANDLE handle) {
    return static_cast<Connection*>(handle);
}
Statement* statementOf(SQLHANDLE handle) {
    return static_cast<Statement*>(handle);
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
    if (output == nullptr)
        return SQL_ERROR;
    *output = SQL_NULL_HANDLE;
    switch (type) {
    case SQL_HANDLE_ENV:
        *output = new Environment;
        return SQL_SUCCESS;
    case SQL_HANDLE_DBC: {
        Environment* environment = environmentOf(input);
        environment->diagnostics.clear();
        *output = new Connection(*environment);
        return SQL_SUCCESS;
    }
    case SQL_HANDLE_STMT: {
        Connection* connection = connectionOf(input);
        connection->diagnostics().clear();
        if (!connection->admitStatement()) {
            for (const auto& record : connection->profile().injectedErrors())
                connection->diagnostics().add(record);
            return connection->diagnostics().finish(SQL_ERROR);
        }
        *output = connection->createStatement();
        return SQL_SUCCESS;
    }
    default:
        return SQL_ERROR;
    }
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
    switch (type) {
    case SQL_HANDLE_ENV:
        delete environmentOf(handle);
        return SQL_SUCCESS;
    case SQL_HANDLE_DBC:
        delete connectionOf(handle);
        return SQL_SUCCESS;
    case SQL_HANDLE_STMT:
        statementOf(handle)->connection().destroyStatement(statementOf(handle));
        return SQL_SUCCESS;
    default:
        return SQL_ERROR;
    }
}

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value,
                                SQLINTEGER) {
    Environment* environment = environmentOf(handle);
    environment->diagnostics.clear();
    if (attribute == SQL_ATTR_ODBC_VERSION)
        environment->odbcVersion = static_cast<SQLINTEGER>(reinterpret_cast<SQLLEN>(value));
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER,
                                SQLINTEGER* length) {
    Environment* environment = environmentOf(handle);
    environment->diagnostics.clear();
    SQLINTEGER answer = 0;
    if (attribute == SQL_ATTR_ODBC_VERSION)
        answer = environment->odbcVersion;
    else if (attribute == SQL_ATTR_OUTPUT_NTS)
        answer = SQL_TRUE;
    if (value != nullptr)
        *static_cast<SQLINTEGER*>(value) = answer;
    if (length != nullptr)
        *length = sizeof(SQLINTEGER);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND, SQLCHAR* in, SQLSMALLINT inLength,
                                   SQLCHAR* out, SQLSMALLINT outMax, SQLSMALLINT* outLength,
                                   SQLUSMALLINT) {
    Connection* connection = connectionOf(handle);
    return guarded(connection->diagnostics(), [&] {
        return connection->driverConnect(textArgument(in, inLength), out, outMax, outLength);
    });
}

SQLRETURN SQL_API SQLConnect(SQLHDBC handle, SQLCHAR* dsn, SQLSMALLINT dsnLength, SQLCHAR* user,
                             SQLSMALLINT userLength, SQLCHAR*, SQLSMALLINT) {
    Connection* connection = connectionOf(handle);
    return guarded(connection->diagnostics(), [&] {
        return connection->connectDsn(textArgument(dsn, dsnLength), textArgument(user, userLength));
    });
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle) {
    return connectionOf(handle)->disconnect();
}

SQLRETURN SQL_API SQLGetInfo(SQLHDBC handle, SQLUSMALLINT type, SQLPOINTER value,
                             SQLSMALLINT bufferLength, SQLSMALLINT* length) {
    Connection* connection = connectionOf(handle);
    return guarded(connection->diagnostics(),
                   [&] { return connection->getInfo(type, value, bufferLength, length); });
}

SQLRETURN SQL_API SQLGetFunctions(SQLHDBC handle, SQLUSMALLINT id, SQLUSMALLINT* supported) {
    return connectionOf(handle)->getFunctions(id, supported);
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                    SQLINTEGER length) {
    Connection* connection = connectionOf(handle);
    return guarded(connection->diagnostics(),
                   [&] { return connection->setAttribute(attribute, value, length); });
}

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                    SQLINTEGER bufferLength, SQLINTEGER* length) {
    Connection* connection = connectionOf(handle);
    return guarded(connection->diagnostics(), [&] {
        return connection->getAttribute(attribute, value, bufferLength, length);
    });
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT completion) {
    if (type != SQL_HANDLE_DBC)
        return SQL_SUCCESS;
    Connection* connection = connectionOf(handle);
    if (connection->refuseMissing(SQL_API_SQLENDTRAN, connection->diagnostics()))
        return SQL_ERROR;
    return connection->endTransaction(completion);
}

SQLRETURN SQL_API SQLNativeSql(SQLHDBC handle, SQLCHAR* in, SQLINTEGER inLength, SQLCHAR* out,
                               SQLINTEGER outMax, SQLINTEGER* outLength) {
    Connection* connection = connectionOf(handle);
    connection->diagnostics().clear();
    if (connection->refuseMissing(SQL_API_SQLNATIVESQL, connection->diagnostics()))
        return SQL_ERROR;
    if (copyOut(textArgument(in, inLength), out, outMax, outLength)) {
        connection->diagnostics().add("01004", "String data, right truncated");
        return connection->diagnostics().finish(SQL_SUCCESS_WITH_INFO);
    }
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT recNumber,
                                SQLCHAR* state, SQLINTEGER* native, SQLCHAR* message,
                                SQLSMALLINT bufferLength, SQLSMALLINT* textLength) {
    switch (type) {
    case SQL_HANDLE_ENV:
        return environmentOf(handle)->diagnostics.getRec(recNumber, state, native, message,
                                                         bufferLength, textLength);
    case SQL_HANDLE_DBC:
        return connectionOf(handle)->diagnostics().getRec(recNumber, state, native, message,
                                                          bufferLength, textLength);
    case SQL_HANDLE_STMT:
        return statementOf(handle)->diagRec(recNumber, state, native, message, bufferLength,
                                            textLength);
    default:
        return SQL_INVALID_HANDLE;
    }
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT recNumber,
                                  SQLSMALLINT identifier, SQLPOINTER info, SQLSMALLINT bufferLength,
                                  SQLSMALLINT* stringLength) {
    switch (type) {
    case SQL_HANDLE_ENV:
        return environmentOf(handle)->diagnostics.getField(recNumber, identifier, info,
                                                           bufferLength, stringLength);
    case SQL_HANDLE_DBC:
        return connectionOf(handle)->diagnostics().getField(recNumber, identifier, info,
                                                            bufferLength, stringLength);
    case SQL_HANDLE_STMT:
        return statementOf(handle)->diagField(recNumber, identifier, info, bufferLength,
                                              stringLength);
    default:
        return SQL_INVALID_HANDLE;
    }
}

} // extern "C"
