#pragma once

#include "results/BlockWriter.h"
#include "results/DelimitedFormat.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace veltro {

class ResultSink;

// The result sets of one batch written to a file as delimited text while they are fetched,
// byte for byte as WriteGridFile writes the grids of the same batch: each row as soon as it
// can no longer change, each result set followed by an empty line. Nothing but the row
// being written is kept, so memory does not grow with the rows.
//
// A result set's sink is used by one thread at a time: the worker writes cells, the
// session's thread sets row counts while the worker waits. Cells of a row arrive in column
// order and rows in ascending order, as the worker writes them; a lower row count cuts the
// row being written (a cancelled fetch drops its last row).
class DelimitedStream {
public:
    struct Options {
        std::string delimiter = "\t";
        bool columnNames = true;
        // Written for a NULL value, quoted as a value with its text would be.
        std::string nullText;
    };

    // onFailure runs once, on the writing thread, when a write fails (errno value given).
    DelimitedStream(std::FILE* out, Options options, std::function<void(int)> onFailure);
    ~DelimitedStream();
    DelimitedStream(const DelimitedStream&) = delete;
    DelimitedStream& operator=(const DelimitedStream&) = delete;

    // A sink for the next result set; the one before it is finished.
    std::shared_ptr<ResultSink> nextResult();
    // Finishes the last result set and flushes; false when anything failed to be written.
    bool finish();
    // 0, or the errno value of the first failed write.
    int failure() const { return writer.failure(); }

private:
    class Result;
    friend class Result;

    void flushIfFull();

    BlockWriter writer;
    DelimitedFormat format;
    Options options;
    // The null text as a cell.
    std::string nullCell;
    std::function<void(int)> onFailure;
    bool failureReported = false;
    std::shared_ptr<Result> current;
};

} // namespace veltro
