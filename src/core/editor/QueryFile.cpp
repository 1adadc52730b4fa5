#include "editor/QueryFile.h"

#include "common/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veltro {

namespace {

QueryFileContents failure(int errnoValue) {
    QueryFileContents contents;
    contents.status = QueryFileStatus::failed;
    contents.errnoValue = errnoValue;
    return contents;
}

} // namespace

QueryFileContents readQueryFile(const std::string& path, std::size_t maxBytes) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return failure(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return QueryFileContents{QueryFileStatus::notAFile, 0, {}};
    }
    // O_NONBLOCK: should the path have become a pipe since, opening must not wait for a writer.
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        return failure(errno);
    }
    if (::fstat(fd.get(), &info) != 0) {
        return failure(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return QueryFileContents{QueryFileStatus::notAFile, 0, {}};
    }
    if (static_cast<std::size_t>(info.st_size) > maxBytes) {
        return QueryFileContents{QueryFileStatus::tooLarge, 0, {}};
    }
    QueryFileContents contents;
    contents.bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    while (true) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return failure(errno);
        }
        if (got == 0) {
            break;
        }
        contents.bytes.append(buffer, static_cast<std::size_t>(got));
        // The file may grow while it is read.
        if (contents.bytes.size() > maxBytes) {
            return QueryFileContents{QueryFileStatus::tooLarge, 0, {}};
        }
    }
    contents.status = QueryFileStatus::ok;
    return contents;
}

bool isValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        std::size_t length = 0;
        char32_t minimum = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++pos;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            minimum = 0x80;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            minimum = 0x800;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            minimum = 0x10000;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (pos + length > bytes.size()) {
            return false;
        }
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(bytes[pos + i]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
        if (code < minimum || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            return false;
        }
        pos += length;
    }
    return true;
}

QueryFileEncoding encodingOf(std::string_view bytes) {
    return isValidUtf8(bytes) ? QueryFileEncoding::utf8 : QueryFileEncoding::latin1;
}

std::string decodeQueryText(std::string_view bytes, QueryFileEncoding encoding) {
    if (encoding == QueryFileEncoding::utf8) {
        return std::string(bytes);
    }
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

std::optional<std::string> encodeQueryText(std::string_view text, QueryFileEncoding encoding) {
    if (encoding == QueryFileEncoding::utf8) {
        return std::string(text);
    }
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            bytes += text[pos];
        } else if ((byte == 0xC2 || byte == 0xC3) && pos + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[++pos]);
            bytes += static_cast<char>(((byte & 0x03) << 6) | (next & 0x3F));
        } else {
            return std::nullopt;
        }
    }
    return bytes;
}

} // namespace veltro
