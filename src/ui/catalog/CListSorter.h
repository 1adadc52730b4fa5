#pragma once

class QTreeWidget;

namespace veltro {

// Sorts the rows of a list by the text of one column, without regard to case. The rows keep
// their data, selection and focus; rows with equal texts keep their order. Callers keep one
// direction flag per list, start it at true and flip it before each sort, so that the first
// sort of a list is descending.
class CListSorter {
public:
    CListSorter(QTreeWidget& list, int column) : list(list), column(column) {}

    void sort(bool ascending);

private:
    QTreeWidget& list;
    int column;
};

} // namespace veltro
