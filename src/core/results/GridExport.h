#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace veltro {

class GridStore;

inline constexpr const char* commaFormat = "Comma Seperated";
inline constexpr const char* tabFormat = "Tab Delimited";
inline constexpr const char* pipeFormat = "Pipe Seperated";
inline constexpr const char* noneFormat = "<None>";

// The delimiter a format entry stands for, tested word by word ("Comma", "Tab", "Pipe",
// "<None>"); a text with none of the words leaves the previous delimiter.
std::string delimiterOfFormat(const std::string& formatText, const std::string& previous);

// Every grid in order, each row's cells joined by the delimiter, each grid followed by an
// empty line; row 0 (the column names) only when asked. Rows end with CR LF; a cell's bytes
// are written as they are, line feeds included. A cell that holds the delimiter, a double
// quote, CR or LF is quoted (inner quotes doubled), except with no delimiter at all. False
// when writing failed (errno tells why).
bool WriteGridFile(std::FILE* out, const std::vector<std::shared_ptr<GridStore>>& grids,
                   const std::string& delimiter, bool columnNames);

// The selected block of one grid, rows joined by CR LF, no line end after the last row.
bool WriteGridSelection(std::FILE* out, const GridStore& grid, const std::string& delimiter);

} // namespace veltro
