#pragma once

#include "catalog/NameQuoting.h"
#include "completion/CaretContext.h"

#include <map>
#include <string>
#include <vector>

namespace veltro {

// A table or procedure as the catalog writes it.
struct CatalogName {
    std::string schema;
    std::string name;
};

// The names one session completes: tables, procedures and keywords read at once, columns
// per table on first use. It lives on the thread of the editor; readers hand it their
// results by value.
class NameCache {
public:
    // What a list would show once these are read.
    struct Needs {
        bool names = false;
        std::vector<CatalogName> columnsOf;
    };
    struct List {
        // As inserted: names quoted where they need it.
        std::vector<std::string> entries;
        Needs needs;
    };

    NameCache();

    void setNames(const NameQuoting& quoting, const std::vector<CatalogName>& tableNames,
                  const std::vector<CatalogName>& procedureNames,
                  const std::vector<std::string>& driverKeywords);
    bool hasNames() const { return namesRead; }
    void setColumns(const CatalogName& table, const std::vector<std::string>& columnNames);
    // Forgets every name read; the ODBC keywords stay.
    void clear();

    // The names wanted at the caret that begin with the typed prefix, without regard to
    // case: names sorted, then keywords (in the case the prefix is typed in).
    List listFor(const CaretContext& context) const;

    // The table as the catalog writes it, found without regard to case; as written when
    // the catalog does not list it.
    CatalogName catalogTable(const TableReference& reference) const;

private:
    struct Entry {
        std::string schema;
        std::string bare;
        std::string shown;
    };
    static std::string columnsKey(const CatalogName& table);
    static void addMatches(const std::vector<Entry>& sorted, const CaretContext& context,
                           const std::string& schema, std::vector<std::string>& out);
    void addKeywords(const std::string& prefix, std::vector<std::string>& out) const;
    std::vector<Entry> sortedEntries(const std::vector<CatalogName>& names,
                                     std::string (NameQuoting::*quote)(std::string_view)
                                         const) const;

    NameQuoting quoting;
    bool namesRead = false;
    std::vector<Entry> tables;
    std::vector<Entry> procedures;
    std::vector<std::string> keywords;
    std::map<std::string, std::vector<Entry>> columns;
};

} // namespace veltro
