#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace veltro {

// The entries of a session's database box and its selection, in the order the box shows
// them. An added entry takes its sorted place (without regard to case); an entry inserted
// at a position stays there.
class DatabaseList {
public:
    static constexpr int noSelection = -1;

    void clear();
    void addSorted(const std::string& entry);
    void insertAt(std::size_t position, const std::string& entry);
    // Makes the entry at index the selected one (noSelection for none).
    void select(int index);
    // Selects the first entry that begins with text, without regard to case. False, and
    // the selection unchanged, when none does.
    bool selectStartingWith(std::string_view text);

    const std::vector<std::string>& entries() const { return items; }
    std::size_t size() const { return items.size(); }
    int selected() const { return selection; }
    // The selected entry; empty when none is selected.
    std::string selectedText() const;

private:
    std::vector<std::string> items;
    int selection = noSelection;
};

} // namespace veltro
