#include "results/DelimitedStream.h"

#include "results/ResultSink.h"

namespace veltro {

class DelimitedStream::Result : public ResultSink {
public:
    explicit Result(DelimitedStream& owner) : stream(owner) {}

    int Rows() const override { return rows; }
    int Cols() const override { return cols; }
    bool SetCols(int count) override {
        if (count < 0 || finished) {
            return false;
        }
        cols = count;
        return true;
    }
    bool SetRows(int count) override {
        if (count < 0 || finished) {
            return false;
        }
        if (pendingRow >= count) {
            stream.writer.text().resize(rowStart);
            pendingRow = -1;
        }
        rows = count;
        return true;
    }
    bool SetTextMatrix(int row, int col, std::string_view text) override {
        if (!startCell(row, col)) {
            return false;
        }
        if (pendingShown) {
            stream.format.appendCell(stream.writer.text(), text);
        }
        return true;
    }
    bool SetNullCell(int row, int col) override {
        if (!startCell(row, col)) {
            return false;
        }
        if (pendingShown) {
            stream.writer.text() += stream.nullCell;
        }
        return true;
    }
    bool SetColWidth(int col, int) override { return col >= 0 && col < cols; }
    bool SetColAlignment(int col, int) override { return col >= 0 && col < cols; }

    void rowsComplete() override {
        finish();
        stream.writer.flush();
        stream.flushIfFull();
    }

    void finish() {
        if (finished) {
            return;
        }
        closeRow();
        writeEmptyRows(rows);
        stream.writer.text() += "\r\n";
        finished = true;
    }

private:
    bool shown(int row) const { return row != 0 || stream.options.columnNames; }

    // Goes to a cell, writing the delimiters before it; false when it cannot be written now.
    // The row being written is always within Rows, and there is none once finished: only
    // a new row needs the full checks.
    bool startCell(int row, int col) {
        if ((row != pendingRow || row < 0) && !startRow(row)) {
            return false;
        }
        if (col < nextCol || col >= cols) {
            return false;
        }
        if (pendingShown) {
            for (int skipped = std::max(nextCol, 1); skipped <= col; ++skipped) {
                stream.format.appendDelimiter(stream.writer.text());
            }
        }
        nextCol = col + 1;
        return true;
    }

    // Starts a row after the one written last; false when it is not one. Once a row, so
    // kept out of the code that runs for every cell.
    [[gnu::noinline]] bool startRow(int row) {
        if (finished || row < 0 || row >= rows || row < pendingRow || row < writtenRows) {
            return false;
        }
        closeRow();
        writeEmptyRows(row);
        pendingRow = row;
        pendingShown = shown(row);
        rowStart = stream.writer.text().size();
        nextCol = 0;
        return true;
    }

    // The row being written is complete: it can no longer be cut.
    void closeRow() {
        if (pendingRow < 0) {
            return;
        }
        if (pendingShown) {
            std::string& out = stream.writer.text();
            for (int col = std::max(nextCol, 1); col < cols; ++col) {
                stream.format.appendDelimiter(out);
            }
            if (cols == 1 && out.size() == rowStart) {
                stream.format.appendEmptyLoneCell(out);
            }
            out += "\r\n";
        }
        writtenRows = pendingRow + 1;
        pendingRow = -1;
        stream.flushIfFull();
    }

    // Rows made room for but never written: empty cells.
    void writeEmptyRows(int end) {
        if (end <= writtenRows) {
            return;
        }
        for (int row = writtenRows; row < end; ++row) {
            if (shown(row)) {
                std::string& out = stream.writer.text();
                for (int col = 1; col < cols; ++col) {
                    stream.format.appendDelimiter(out);
                }
                if (cols == 1) {
                    stream.format.appendEmptyLoneCell(out);
                }
                out += "\r\n";
            }
        }
        writtenRows = end;
        stream.flushIfFull();
    }

    DelimitedStream& stream;
    int rows = 0;
    int cols = 0;
    int writtenRows = 0;
    int pendingRow = -1;
    int nextCol = 0;
    // Whether the row being written goes out (the header row may not).
    bool pendingShown = false;
    std::size_t rowStart = 0;
    bool finished = false;
};

DelimitedStream::DelimitedStream(std::FILE* out, Options streamOptions,
                                 std::function<void(int)> failureHandler)
    : writer(out), format(streamOptions.delimiter), options(std::move(streamOptions)),
      onFailure(std::move(failureHandler)) {
    format.appendCell(nullCell, options.nullText);
}

DelimitedStream::~DelimitedStream() = default;

std::shared_ptr<ResultSink> DelimitedStream::nextResult() {
    if (current) {
        current->finish();
    }
    current = std::make_shared<Result>(*this);
    return current;
}

bool DelimitedStream::finish() {
    if (current) {
        current->finish();
        current.reset();
    }
    writer.flush();
    flushIfFull();
    return writer.failure() == 0;
}

void DelimitedStream::flushIfFull() {
    writer.flushIfFull();
    if (writer.failure() != 0 && !failureReported) {
        failureReported = true;
        if (onFailure) {
            onFailure(writer.failure());
        }
    }
}

} // namespace veltro
