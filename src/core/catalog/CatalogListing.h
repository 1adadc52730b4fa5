#pragma once

#include <string>
#include <vector>

namespace veltro {

struct CatalogTarget;

// The rows of a catalog list as lines of "|"-terminated cells, in catalog order. A failure
// while listing keeps the rows read before it and gives the text the user is shown.
struct CatalogListing {
    std::vector<std::string> lines;
    // Whether the catalog could be opened.
    bool opened = false;
    std::string errorText;
};

// Cells: the listed name, the type, the owner. The types are 'TABLE' and, when wanted,
// 'VIEW' and 'SYSTEM TABLE'.
CatalogListing listTables(const CatalogTarget& target, bool views, bool systemTables);
// Cells: the listed name (without version suffix), the owner.
CatalogListing listProcedures(const CatalogTarget& target);

} // namespace veltro
