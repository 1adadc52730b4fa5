#include "catalog/CatalogListing.h"

#include "catalog/CStoredProcedures.h"
#include "catalog/CTables.h"
#include "catalog/CatalogTarget.h"
#include "common/ErrorText.h"

namespace veltro {

CatalogListing listTables(const CatalogTarget& target, bool views, bool systemTables) {
    CatalogListing listing;
    try {
        CTables tables(target.connection);
        listing.opened = tables.Open(std::nullopt, std::nullopt, std::nullopt,
                                     tableTypeList(views, systemTables));
        for (; listing.opened && !tables.IsEOF(); tables.MoveNext()) {
            listing.lines.push_back(target.quoting.tableName(tables.tableName()) + "|" +
                                    tables.tableType() + "|" + tables.tableOwner() + "|");
        }
    } catch (...) {
        listing.errorText = errorTextFor(std::current_exception(), outOfMemoryDialogText);
    }
    return listing;
}

CatalogListing listProcedures(const CatalogTarget& target) {
    CatalogListing listing;
    try {
        CStoredProcedures procedures(target.connection);
        listing.opened = procedures.Open(std::nullopt, std::nullopt, std::nullopt);
        for (; listing.opened && !procedures.IsEOF(); procedures.MoveNext()) {
            listing.lines.push_back(target.quoting.procedureName(procedures.procedureName()) + "|" +
                                    procedures.procedureOwner() + "|");
        }
    } catch (...) {
        listing.errorText = errorTextFor(std::current_exception(), outOfMemoryDialogText);
    }
    return listing;
}

} // namespace veltro
