#include "driverinfo/IdentifiersModel.h"

#include "common/TextCompare.h"
#include "common/Utf8.h"
#include "driverinfo/InfoSource.h"

#include <sqlext.h>

#include <algorithm>

namespace veltro {

namespace {

constexpr std::size_t keywordBufferSize = 32000;

constexpr const char* odbcKeywordList =
    "ABSOLUTE,ACTION,ADA,ADD,ALL,ALLOCATE,ALTER,AND,ANY,ARE,AS,ASC,ASSERTION,AT,AUTHORIZATION,"
    "AVG,BEGIN,BETWEEN,BIT,BIT_LENGTH,BOTH,BY,CASCADE,CASCADED,CASE,CAST,CATALOG,CHAR,"
    "CHAR_LENGTH,CHARACTER,CHARACTER_LENGTH,CHECK,CLOSE,COALESCE,COLLATE,COLLATION,COLUMN,"
    "COMMIT,CONNECT,CONNECTION,CONSTRAINT,CONSTRAINTS,CONTINUE,CONVERT,CORRESPONDING,COUNT,"
    "CREATE,CROSS,CURRENT,CURRENT_DATE,CURRENT_TIME,CURRENT_TIMESTAMP,CURRENT_USER,CURSOR,DATE,"
    "DAY,DEALLOCATE,DEC,DECIMAL,DECLARE,DEFAULT,DEFERRABLE,DEFERRED,DELETE,DESC,DESCRIBE,"
    "DESCRIPTOR,DIAGNOSTICS,DISCONNECT,DISTINCT,DOMAIN,DOUBLE,DROP,ELSE,END,END-EXEC,ESCAPE,"
    "EXCEPT,EXCEPTION,EXEC,EXECUTE,EXISTS,EXTERNAL,EXTRACT,FALSE,FETCH,FIRST,FLOAT,FOR,FOREIGN,"
    "FORTRAN,FOUND,FROM,FULL,GET,GLOBAL,GO,GOTO,GRANT,GROUP,HAVING,HOUR,IDENTITY,IMMEDIATE,IN,"
    "INCLUDE,INDEX,INDICATOR,INITIALLY,INNER,INPUT,INSENSITIVE,INSERT,INT,INTEGER,INTERSECT,"
    "INTERVAL,INTO,IS,ISOLATION,JOIN,KEY,LANGUAGE,LAST,LEADING,LEFT,LEVEL,LIKE,LOCAL,LOWER,"
    "MATCH,MAX,MIN,MINUTE,MODULE,MONTH,NAMES,NATIONAL,NATURAL,NCHAR,NEXT,NO,NONE,NOT,NULL,"
    "NULLIF,NUMERIC,OCTET_LENGTH,OF,ON,ONLY,OPEN,OPTION,OR,ORDER,OUTER,OUTPUT,OVERLAPS,PAD,"
    "PARTIAL,PASCAL,PLI,POSITION,PRECISION,PREPARE,PRESERVE,PRIMARY,PRIOR,PRIVILEGES,PROCEDURE,"
    "PUBLIC,READ,REAL,REFERENCES,RELATIVE,RESTRICT,REVOKE,RIGHT,ROLLBACK,ROWSSCHEMA,SCROLL,"
    "SECOND,SECTION,SELECT,SESSION,SESSION_USER,SET,SIZE,SMALLINT,SOME,SPACE,SQL,SQLCA,SQLCODE,"
    "SQLERROR,SQLSTATE,SQLWARNING,SUBSTRING,SUM,SYSTEM_USER,TABLE,TEMPORARY,THEN,TIME,TIMESTAMP,"
    "TIMEZONE_HOUR,TIMEZONE_MINUTE,TO,TRAILING,TRANSACTION,TRANSLATE,TRANSLATION,TRIM,TRUE,"
    "UNION,UNIQUE,UNKNOWN,UPDATE,UPPER,USAGE,USER,USING,VALUE,VALUES,VARCHAR,VARYING,VIEW,WHEN,"
    "WHENEVER,WHERE,WITH,WORK,WRITE,YEAR,ZONE";

std::vector<std::string> sortedNoCase(std::vector<std::string> items) {
    std::stable_sort(items.begin(), items.end(),
                     [](const std::string& a, const std::string& b) { return lessNoCase(a, b); });
    return items;
}

} // namespace

std::vector<std::string> splitCommaList(const std::string& text) {
    std::vector<std::string> items;
    if (text.empty()) {
        return items;
    }
    std::size_t start = 0;
    for (std::size_t comma = text.find(','); comma != std::string::npos;
         comma = text.find(',', start)) {
        items.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    items.push_back(text.substr(start));
    return items;
}

void IdentifiersModel::RefreshInfo() {
    if (!source.isConnected()) {
        return;
    }
    const std::initializer_list<CodeText> cases = {
        {1, "Upper"}, {2, "Lower"}, {3, "Sensitive"}, {4, "Mixed"}};
    setByCode(identifierCase, source.GetInfoShort(SQL_IDENTIFIER_CASE), cases);
    identifierQuoteChar = source.GetInfoText(SQL_IDENTIFIER_QUOTE_CHAR);
    ownerTerm = source.GetInfoText(SQL_OWNER_TERM);
    procedureTerm = source.GetInfoText(SQL_PROCEDURE_TERM);
    setByCode(qualifierLocation, source.GetInfoShort(SQL_QUALIFIER_LOCATION),
              {{1, "Start"}, {2, "End"}});
    qualifierNameSeparator = source.GetInfoText(SQL_QUALIFIER_NAME_SEPARATOR);
    qualifierTerm = source.GetInfoText(SQL_QUALIFIER_TERM);
    setByCode(quotedIdentifierCase, source.GetInfoShort(SQL_QUOTED_IDENTIFIER_CASE), cases);
    searchPatternEscape = source.GetInfoText(SQL_SEARCH_PATTERN_ESCAPE);
    specialCharacters = source.GetInfoText(SQL_SPECIAL_CHARACTERS);
    tableTerm = source.GetInfoText(SQL_TABLE_TERM);
}

std::vector<std::string> IdentifiersModel::OdbcKeywords() {
    return sortedNoCase(splitCommaList(odbcKeywordList));
}

std::vector<std::string> IdentifiersModel::DriverKeywords() const {
    return sortedNoCase(splitCommaList(source.GetInfoText(SQL_KEYWORDS, keywordBufferSize)));
}

void IdentifiersModel::WriteReport(std::string& report) {
    if (!source.isConnected()) {
        return;
    }
    report += "Identifiers\n-----------\n\n";
    report += "Driver-Specific Keywords:\n-------------------------\n";
    // The driver's order; the separating comma does not count towards the 75 characters,
    // which are characters, not bytes.
    std::string line;
    bool first = true;
    for (const std::string& keyword :
         splitCommaList(source.GetInfoText(SQL_KEYWORDS, keywordBufferSize))) {
        if (utf8Length(line) + utf8Length(keyword) > 75) {
            line += "\n";
            report += line;
            line = keyword;
        } else {
            if (!first) {
                line += ",";
            }
            line += keyword;
        }
        first = false;
    }
    line += "\n\n";
    report += line;

    report += "          Identifier Case - " + identifierCase + "\n";
    report += "   Quoted Identifier Case - " + quotedIdentifierCase + "\n";
    report += "    Search Pattern Escape - " + searchPatternEscape + "\n";
    report += "    Identifier Quote Char - " + identifierQuoteChar + "\n";
    report += "       Qualifier Location - " + qualifierLocation + "\n";
    report += "      Qualifier Separator - " + qualifierNameSeparator + "\n";
    report += "               Owner Term - " + ownerTerm + "\n";
    report += "           Procedure Term - " + procedureTerm + "\n";
    report += "           Qualifier Term - " + qualifierTerm + "\n";
    report += "                TableTerm - " + tableTerm + "\n\n";

    report += "Special Characters:\n-------------------\n";
    if (specialCharacters.empty()) {
        report += "<none>\n\n";
    } else {
        std::string_view rest = specialCharacters;
        while (utf8Length(rest) > 75) {
            const std::string line = utf8Prefix(rest, 75);
            report += line;
            report += "\n";
            rest.remove_prefix(line.size());
        }
        report += rest;
        report += "\n";
    }
    report += "\n";
}

std::vector<PageField> IdentifiersModel::fields() const {
    return {
        {"Identifier Case:", &identifierCase},
        {"Quoted Identifier Case:", &quotedIdentifierCase},
        {"Identifier Quote Character:", &identifierQuoteChar},
        {"Search Pattern Escape:", &searchPatternEscape},
        {"Qualifier Location:", &qualifierLocation},
        {"Qualifier Name Separator:", &qualifierNameSeparator},
        {"Owner Term:", &ownerTerm},
        {"Procedure Term:", &procedureTerm},
        {"Qualifier Term:", &qualifierTerm},
        {"Table Term:", &tableTerm},
        {"Special Characters:", &specialCharacters, FieldStyle::multiLineEdit},
    };
}

} // namespace veltro
