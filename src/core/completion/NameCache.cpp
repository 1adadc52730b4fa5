#include "completion/NameCache.h"

#include "common/TextCompare.h"

#include <algorithm>
#include <cctype>

namespace veltro {

namespace {

bool lessEntryName(const std::string& a, const std::string& b) {
    return lessNoCase(a, b) || (!lessNoCase(b, a) && a < b);
}

void sortUnique(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), lessEntryName);
    names.erase(std::unique(names.begin(), names.end()), names.end());
}

} // namespace

NameCache::NameCache()
    : quoting(NameQuoting::forDataSource(false, false, "\"")), keywords(odbcKeywords()) {}

std::vector<NameCache::Entry>
NameCache::sortedEntries(const std::vector<CatalogName>& names,
                         std::string (NameQuoting::*quote)(std::string_view) const) const {
    std::vector<Entry> entries;
    entries.reserve(names.size());
    for (const CatalogName& name : names) {
        entries.push_back({name.schema, name.name, (quoting.*quote)(name.name)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return lessNoCase(a.bare, b.bare); });
    return entries;
}

void NameCache::setNames(const NameQuoting& nameQuoting, const std::vector<CatalogName>& tableNames,
                         const std::vector<CatalogName>& procedureNames,
                         const std::vector<std::string>& driverKeywords) {
    quoting = nameQuoting;
    tables = sortedEntries(tableNames, &NameQuoting::tableName);
    procedures = sortedEntries(procedureNames, &NameQuoting::procedureName);
    keywords = odbcKeywords();
    for (std::string keyword : driverKeywords) {
        std::transform(keyword.begin(), keyword.end(), keyword.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        keywords.push_back(std::move(keyword));
    }
    sortUnique(keywords);
    columns.clear();
    namesRead = true;
}

void NameCache::setColumns(const CatalogName& table, const std::vector<std::string>& columnNames) {
    std::vector<CatalogName> names;
    names.reserve(columnNames.size());
    for (const std::string& column : columnNames) {
        names.push_back({{}, column});
    }
    columns[columnsKey(table)] = sortedEntries(names, &NameQuoting::columnName);
}

void NameCache::clear() {
    namesRead = false;
    tables.clear();
    procedures.clear();
    columns.clear();
    keywords = odbcKeywords();
}

std::string NameCache::columnsKey(const CatalogName& table) {
    return table.schema + '\x1f' + table.name;
}

CatalogName NameCache::catalogTable(const TableReference& reference) const {
    auto at = std::lower_bound(
        tables.begin(), tables.end(), reference.table,
        [](const Entry& entry, const std::string& name) { return lessNoCase(entry.bare, name); });
    for (; at != tables.end() && equalsNoCase(at->bare, reference.table); ++at) {
        if (reference.schema.empty() || equalsNoCase(at->schema, reference.schema)) {
            return {at->schema, at->bare};
        }
    }
    return {reference.schema, reference.table};
}

void NameCache::addMatches(const std::vector<Entry>& sorted, const CaretContext& context,
                           const std::string& schema, std::vector<std::string>& out) {
    auto at = std::lower_bound(sorted.begin(), sorted.end(), context.prefix,
                               [](const Entry& entry, const std::string& prefix) {
                                   return lessNoCase(entry.bare, prefix);
                               });
    const std::size_t before = out.size();
    for (; at != sorted.end() && startsWithNoCase(at->bare, context.prefix); ++at) {
        if (schema.empty() || equalsNoCase(at->schema, schema)) {
            out.push_back(at->shown);
        }
    }
    // Names in several schemas are listed once.
    out.erase(std::unique(out.begin() + static_cast<std::ptrdiff_t>(before), out.end()), out.end());
}

void NameCache::addKeywords(const std::string& prefix, std::vector<std::string>& out) const {
    const bool lower = !prefix.empty() && std::islower(static_cast<unsigned char>(prefix[0])) != 0;
    auto at = std::lower_bound(
        keywords.begin(), keywords.end(), prefix,
        [](const std::string& k, const std::string& p) { return lessNoCase(k, p); });
    for (; at != keywords.end() && startsWithNoCase(*at, prefix); ++at) {
        std::string keyword = *at;
        if (lower) {
            std::transform(keyword.begin(), keyword.end(), keyword.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        }
        out.push_back(std::move(keyword));
    }
}

NameCache::List NameCache::listFor(const CaretContext& context) const {
    using Kind = CaretContext::Kind;
    List list;
    const bool wantsCatalog = context.kind != Kind::none && context.kind != Kind::keywords;
    list.needs.names = wantsCatalog && !namesRead;
    std::vector<TableReference> columnTables;
    switch (context.kind) {
    case Kind::none:
        return list;
    case Kind::keywords:
        addKeywords(context.prefix, list.entries);
        return list;
    case Kind::tables:
        addMatches(tables, context, context.schema, list.entries);
        return list;
    case Kind::procedures:
        addMatches(procedures, context, {}, list.entries);
        return list;
    case Kind::qualifiedColumns:
        columnTables.push_back(context.columnsOf);
        break;
    case Kind::statementColumns:
        columnTables = context.statementTables;
        break;
    }
    if (namesRead) {
        for (const TableReference& reference : columnTables) {
            const CatalogName table = catalogTable(reference);
            const auto found = columns.find(columnsKey(table));
            if (found == columns.end()) {
                list.needs.columnsOf.push_back(table);
            } else {
                addMatches(found->second, context, {}, list.entries);
            }
        }
    }
    sortUnique(list.entries);
    if (context.kind == Kind::statementColumns) {
        addKeywords(context.prefix, list.entries);
    }
    return list;
}

} // namespace veltro
