#pragma once

#include "odbc/CRecordsetEx.h"

#include <sql.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace veltro {

// A catalog argument: a text, or none (passed to the driver as a null pointer).
using CatalogArgument = std::optional<std::string>;

// The open sequence and the fields that the catalog recordsets share. The fields are bound to
// the result columns by position: field 1 receives column 1, and so on. Text fields hold at
// most 255 characters (a NULL reads as empty), numeric fields read 0 for NULL.
class CatalogRecordset : public CRecordsetEx {
public:
    enum class FieldType { text, number };

    ~CatalogRecordset() override;

    // The current row's field with the zero-based index.
    std::string textField(int index) const;
    long numberField(int index) const;

protected:
    CatalogRecordset(std::shared_ptr<OdbcConnection> connection, std::vector<FieldType> types);

    // Asks the driver whether it has the catalog function (a text error with missingText
    // when not), allocates the statement (false when that fails), makes the call, repeated
    // while the driver is still executing, and fetches the first row. Any failure after the
    // allocation closes the recordset and passes on.
    bool openCatalog(SQLUSMALLINT functionId, const char* missingText,
                     const std::function<SQLRETURN(SQLHSTMT)>& call);

    // A catalog argument as the driver takes it.
    static SQLCHAR* argument(const CatalogArgument& value);

private:
    void bindFields() override;

    struct Field {
        FieldType type;
        std::vector<char> text;
        SQLINTEGER number = 0;
        SQLLEN indicator = SQL_NULL_DATA;
    };
    std::vector<Field> fields;
};

} // namespace veltro
