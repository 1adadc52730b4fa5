#pragma once

#include <string>

namespace veltro {

class CListCtrlEx;

// Inserts a row at index from a line in which every cell ends with "|": the first cell is
// the row's text, the others fill columns 1, 2, ... The row shows the list's image with
// that number unless image is -1. Returns the new row's index, or -1 when the line holds
// no "|". The line keeps what followed its last "|".
int AddDelimitedRow(CListCtrlEx& list, std::string& line, int image, int index);

} // namespace veltro
