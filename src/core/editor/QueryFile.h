#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace veltro {

// A query file larger than this is refused rather than loaded into the editor.
inline constexpr std::size_t maxQueryFileBytes = 64u * 1024u * 1024u;

enum class QueryFileStatus {
    ok,
    failed,   // the system refused; see errnoValue
    notAFile, // a folder, a pipe, a device: nothing an editor can load
    tooLarge, // more than maxQueryFileBytes
};

// How the bytes of a query file map to the editor's text.
enum class QueryFileEncoding {
    utf8,   // the file's bytes are the text
    latin1, // not valid UTF-8: every byte is one character, and is written back as one
};

struct QueryFileContents {
    QueryFileStatus status = QueryFileStatus::failed;
    int errnoValue = 0;
    std::string bytes;
};

// Reads a whole query file. Never blocks on a pipe: it is opened without waiting for a
// writer and refused as not a file.
QueryFileContents readQueryFile(const std::string& path, std::size_t maxBytes = maxQueryFileBytes);

bool isValidUtf8(std::string_view bytes);

// The encoding to read a file's bytes with.
QueryFileEncoding encodingOf(std::string_view bytes);

// The editor text (UTF-8) of a file's bytes in an encoding.
std::string decodeQueryText(std::string_view bytes, QueryFileEncoding encoding);

// The file bytes of the editor text (UTF-8) in an encoding; nothing when the text holds a
// character the encoding cannot represent.
std::optional<std::string> encodeQueryText(std::string_view text, QueryFileEncoding encoding);

} // namespace veltro
