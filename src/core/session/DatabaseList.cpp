#include "session/DatabaseList.h"

#include "common/TextCompare.h"

#include <algorithm>

namespace veltro {

void DatabaseList::clear() {
    items.clear();
    selection = noSelection;
}

void DatabaseList::addSorted(const std::string& entry) {
    const auto place = std::upper_bound(
        items.begin(), items.end(), entry,
        [](const std::string& a, const std::string& b) { return lessNoCase(a, b); });
    const auto index = static_cast<int>(place - items.begin());
    items.insert(place, entry);
    if (selection >= index) {
        ++selection;
    }
}

void DatabaseList::insertAt(std::size_t position, const std::string& entry) {
    position = std::min(position, items.size());
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(position), entry);
    if (selection >= static_cast<int>(position)) {
        ++selection;
    }
}

void DatabaseList::select(int index) {
    selection = index >= 0 && index < static_cast<int>(items.size()) ? index : noSelection;
}

bool DatabaseList::selectStartingWith(std::string_view text) {
    const auto found = std::find_if(items.begin(), items.end(), [text](const std::string& entry) {
        return startsWithNoCase(entry, text);
    });
    if (found == items.end()) {
        return false;
    }
    selection = static_cast<int>(found - items.begin());
    return true;
}

std::string DatabaseList::selectedText() const {
    return selection == noSelection ? std::string() : items[static_cast<std::size_t>(selection)];
}

} // namespace veltro
