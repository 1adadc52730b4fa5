#include "catalog/CatalogRecordset.h"

#include "common/AppError.h"
#include "common/Utf8.h"
#include "odbc/OdbcConnection.h"

#include <sqlext.h>

#include <algorithm>

namespace veltro {

namespace {

constexpr std::size_t maxTextCharacters = 255;
// Room for 255 characters of up to four bytes each and the terminator, so that the cut to
// 255 characters never falls inside a character.
constexpr std::size_t textBufferSize = maxTextCharacters * 4 + 1;

} // namespace

CatalogRecordset::CatalogRecordset(std::shared_ptr<OdbcConnection> connection,
                                   std::vector<FieldType> types)
    : CRecordsetEx(std::move(connection)) {
    for (const FieldType type : types) {
        Field& field = fields.emplace_back();
        field.type = type;
        if (type == FieldType::text) {
            field.text.assign(textBufferSize, '\0');
        }
    }
}

CatalogRecordset::~CatalogRecordset() {
    // The statement goes before the buffers bound to it.
    Close();
}

SQLCHAR* CatalogRecordset::argument(const CatalogArgument& value) {
    return value ? reinterpret_cast<SQLCHAR*>(const_cast<char*>(value->c_str())) : nullptr;
}

bool CatalogRecordset::openCatalog(SQLUSMALLINT functionId, const char* missingText,
                                   const std::function<SQLRETURN(SQLHSTMT)>& call) {
    Close();
    // Throws a DatabaseError with the connection's diagnostics when the question fails.
    if (!connection().supportsFunction(functionId)) {
        throw AppError(missingText);
    }
    if (!allocateStatement()) {
        return false;
    }
    openWithCall(call);
    return true;
}

void CatalogRecordset::bindFields() {
    const auto bound = std::min<std::size_t>(
        fields.size(), static_cast<std::size_t>(std::max<std::int16_t>(resultColumnCount(), 0)));
    SQLHSTMT h = statementHandle();
    for (std::size_t i = 0; i < bound; ++i) {
        Field& field = fields[i];
        field.indicator = SQL_NULL_DATA;
        const auto column = static_cast<SQLUSMALLINT>(i + 1);
        SQLRETURN rc = SQL_SUCCESS;
        switch (field.type) {
        case FieldType::text:
            rc = SQLBindCol(h, column, SQL_C_CHAR, field.text.data(),
                            static_cast<SQLLEN>(field.text.size()), &field.indicator);
            break;
        case FieldType::number:
            // Integers of every width fit a 32-bit buffer.
            rc = SQLBindCol(h, column, SQL_C_SLONG, &field.number, 0, &field.indicator);
            break;
        }
        if (!SQL_SUCCEEDED(rc)) {
            throwStatementError(rc);
        }
    }
}

std::string CatalogRecordset::textField(int index) const {
    const Field& field = fields.at(static_cast<std::size_t>(index));
    if (field.type != FieldType::text || field.indicator == SQL_NULL_DATA) {
        return {};
    }
    // A longer value arrives cut to the buffer (01004), its indicator the whole length.
    const SQLLEN room = static_cast<SQLLEN>(field.text.size()) - 1;
    const SQLLEN length =
        field.indicator == SQL_NO_TOTAL ? room : std::clamp<SQLLEN>(field.indicator, 0, room);
    return utf8Prefix(std::string_view(field.text.data(), static_cast<std::size_t>(length)),
                      maxTextCharacters);
}

long CatalogRecordset::numberField(int index) const {
    const Field& field = fields.at(static_cast<std::size_t>(index));
    if (field.type == FieldType::text || field.indicator == SQL_NULL_DATA) {
        return 0;
    }
    return field.number;
}

} // namespace veltro
