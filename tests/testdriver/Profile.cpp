#include "Profile.h"

#include <algorithm>

namespace veltro::testdriver {

bool Profile::multipleResults() const {
    const auto it = info.find(SQL_MULT_RESULT_SETS);
    return it == info.end() || !istartsWith(it->second.text, "N");
}

std::vector<DiagRecord> Profile::injectedErrors() const {
    std::vector<DiagRecord> records;
    for (int record = 1; record <= std::max(1, errorRecords); ++record) {
        DiagRecord diag = error;
        if (record > 1) {
            diag.native += record - 1;
            diag.message += " (record " + std::to_string(record) + ")";
        }
        records.push_back(std::move(diag));
    }
    return records;
}

} // namespace veltro::testdriver
