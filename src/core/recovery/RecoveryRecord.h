#pragma once

#include "editor/QueryFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltro {

// The largest recovery file: a query file's bytes and room for the fields before them. A
// larger file in the recovery folder is not read.
inline constexpr std::size_t maxRecoveryFileBytes = maxQueryFileBytes + 64u * 1024u;

// An unsaved query document as its recovery file keeps it. The text is kept as the file
// bytes of its encoding, so that a Latin-1 document comes back as Latin-1, byte for byte.
struct RecoveryRecord {
    std::string title;
    std::string fileName; // empty for an untitled query
    std::string dataSource;
    std::int64_t changedAt = 0; // seconds since the epoch, UTC
    QueryFileEncoding encoding = QueryFileEncoding::utf8;
    std::string bytes;
};

std::string formatRecoveryRecord(const RecoveryRecord& record);
// Nothing when the data is not a whole recovery record (a file cut short, another file).
std::optional<RecoveryRecord> parseRecoveryRecord(std::string_view data);

// The first line of the text that is not blank, as the editor shows it (UTF-8).
std::string firstTextLine(const RecoveryRecord& record);

} // namespace veltro
