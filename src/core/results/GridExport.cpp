#include "results/GridExport.h"

#include "common/FileErrorText.h"
#include "results/GridStore.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace veltro {

namespace {

// Written in blocks of about this size.
constexpr std::size_t flushThreshold = 1 << 20;

// The characters that make a cell need quotes: a one-character delimiter, a quote, CR, LF.
std::string specialCharacters(const std::string& delimiter) {
    return delimiter.size() == 1 ? delimiter + "\"\r\n" : std::string();
}

bool needsQuotes(std::string_view cell, const std::string& delimiter, const std::string& special) {
    if (delimiter.empty()) {
        return false;
    }
    if (!special.empty()) {
        return cell.find_first_of(special) != std::string_view::npos;
    }
    return cell.find(delimiter) != std::string_view::npos ||
           cell.find_first_of("\"\r\n") != std::string_view::npos;
}

// The cell's bytes as they are, quoted where the cell needs it.
void appendCell(std::string& out, std::string_view cell, const std::string& delimiter,
                const std::string& special) {
    if (!needsQuotes(cell, delimiter, special)) {
        out.append(cell);
        return;
    }
    out += '"';
    for (const char c : cell) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

class BlockWriter {
public:
    explicit BlockWriter(std::FILE* file) : file(file) { buffer.reserve(flushThreshold + 4096); }

    std::string& text() { return buffer; }

    bool flushIfFull() { return buffer.size() < flushThreshold || flush(); }

    bool flush() {
        if (!buffer.empty() &&
            std::fwrite(buffer.data(), 1, buffer.size(), file) != buffer.size()) {
            return false;
        }
        buffer.clear();
        return true;
    }

private:
    std::FILE* file;
    std::string buffer;
};

void appendRow(std::string& out, const GridStore& grid, int row, int firstCol, int lastCol,
               const std::string& delimiter, const std::string& special) {
    bool first = true;
    grid.VisitRow(row, firstCol, lastCol, [&](std::string_view cell) {
        if (!first) {
            out += delimiter;
        }
        first = false;
        appendCell(out, cell, delimiter, special);
    });
}

// A device or a pipe (/dev/null, a named pipe) is written as it is: renaming a file onto
// it would replace it.
// Runs the writer and closes the file: 0, or the cause of the failure.
int writeAndClose(std::FILE* file, const std::function<bool(std::FILE*)>& writer) {
    const bool written = writer(file);
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (written && closed) {
        return 0;
    }
    return fileErrorCauseOf(written ? errno : writeErrno, true);
}

bool writeInPlace(const std::string& path, const std::function<bool(std::FILE*)>& writer,
                  const std::function<bool(int)>& fail) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return fail(fileErrorCauseOf(errno, true));
    }
    if (const int cause = writeAndClose(file, writer)) {
        return fail(cause);
    }
    return true;
}

} // namespace

std::string delimiterOfFormat(const std::string& formatText, const std::string& previous) {
    std::string delimiter = previous;
    if (formatText.find("Comma") != std::string::npos) {
        delimiter = ",";
    }
    if (formatText.find("Tab") != std::string::npos) {
        delimiter = "\t";
    }
    if (formatText.find("Pipe") != std::string::npos) {
        delimiter = "|";
    }
    if (formatText.find("<None>") != std::string::npos) {
        delimiter.clear();
    }
    return delimiter;
}

bool WriteGridFile(std::FILE* out, const std::vector<std::shared_ptr<GridStore>>& grids,
                   const std::string& delimiter, bool columnNames) {
    BlockWriter writer(out);
    const std::string special = specialCharacters(delimiter);
    for (const auto& grid : grids) {
        const int rows = grid->Rows();
        const int cols = grid->Cols();
        for (int row = columnNames ? 0 : 1; row < rows; ++row) {
            appendRow(writer.text(), *grid, row, 0, cols - 1, delimiter, special);
            writer.text() += "\r\n";
            if (!writer.flushIfFull()) {
                return false;
            }
        }
        writer.text() += "\r\n";
    }
    return writer.flush() && std::fflush(out) == 0;
}

bool WriteGridSelection(std::FILE* out, const GridStore& grid, const std::string& delimiter) {
    const int firstRow = std::min(grid.Row(), grid.RowSel());
    const int lastRow = std::max(grid.Row(), grid.RowSel());
    const int firstCol = std::min(grid.Col(), grid.ColSel());
    const int lastCol = std::max(grid.Col(), grid.ColSel());
    BlockWriter writer(out);
    const std::string special = specialCharacters(delimiter);
    for (int row = firstRow; row <= lastRow; ++row) {
        if (row > firstRow) {
            writer.text() += "\r\n";
        }
        appendRow(writer.text(), grid, row, firstCol, lastCol, delimiter, special);
        if (!writer.flushIfFull()) {
            return false;
        }
    }
    return writer.flush() && std::fflush(out) == 0;
}

bool writeFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& writer,
                         std::string& failureText) {
    const auto fail = [&](int cause) {
        failureText = "File Path Name: <" + path + "> " + FileErrorText(cause);
        return false;
    };
    std::error_code ignored;
    const auto existing = std::filesystem::status(path, ignored);
    if (std::filesystem::exists(existing) && !std::filesystem::is_regular_file(existing)) {
        return writeInPlace(path, writer, fail);
    }
    // Through a link, the file it points to is the one replaced.
    const std::filesystem::path target = std::filesystem::exists(existing)
                                             ? std::filesystem::canonical(path, ignored)
                                             : std::filesystem::path(path);
    std::string temporary =
        (target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path()) /
        ("." + target.filename().string() + ".XXXXXX");
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        return fail(fileErrorCauseOf(errno, true));
    }
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        const int cause = fileErrorCauseOf(errno, true);
        close(fd);
        std::remove(temporary.c_str());
        return fail(cause);
    }
    if (const int cause = writeAndClose(file, writer)) {
        std::remove(temporary.c_str());
        return fail(cause);
    }
    // mkstemp makes the file private: a replaced file keeps its permissions, a new one
    // gets the usual read access for others.
    const auto permissions = std::filesystem::exists(existing)
                                 ? existing.permissions()
                                 : static_cast<std::filesystem::perms>(0644);
    std::filesystem::permissions(temporary, permissions, ignored);
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        const int cause = fileErrorCauseOf(errno, true);
        std::remove(temporary.c_str());
        return fail(cause);
    }
    return true;
}

} // namespace veltro
