#pragma once

#include "driverinfo/InfoPageModel.h"

namespace veltro {

// How the driver treats identifiers (case rules, quote character, escape, qualifier place
// and separator, the DBMS's terms, special characters) and its keywords beside the reserved
// keywords of ODBC SQL.
class IdentifiersModel : public InfoPageModel {
public:
    using InfoPageModel::InfoPageModel;

    void RefreshInfo() override;
    // Asks the driver's keywords again.
    void WriteReport(std::string& report) override;
    std::vector<PageField> fields() const override;

    // The reserved keywords of ODBC SQL, and the driver's own, in alphabetical order.
    static std::vector<std::string> OdbcKeywords();
    std::vector<std::string> DriverKeywords() const;

    std::string identifierCase;
    std::string identifierQuoteChar;
    std::string ownerTerm;
    std::string procedureTerm;
    std::string qualifierLocation;
    std::string qualifierNameSeparator;
    std::string qualifierTerm;
    std::string quotedIdentifierCase;
    std::string searchPatternEscape;
    std::string tableTerm;
    std::string specialCharacters;
};

// The items of a comma-separated text: the pieces between commas, nothing trimmed; an empty
// text has none.
std::vector<std::string> splitCommaList(const std::string& text);

} // namespace veltro
