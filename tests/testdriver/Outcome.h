#pragma once

#include "Diagnostics.h"
#include "ResultSet.h"

#include <vector>

namespace veltro::testdriver {

// What running one statement gave: a result, or the error records to report.
struct Outcome {
    ResultSet result;
    std::vector<DiagRecord> errors;

    bool ok() const { return errors.empty(); }
    static Outcome of(ResultSet result) { return {std::move(result), {}}; }
    static Outcome failure(DiagRecord record) { return {{}, {std::move(record)}}; }
};

} // namespace veltro::testdriver
