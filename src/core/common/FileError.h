#pragma once

#include "common/AppError.h"

#include <string>

namespace veltro {

// A file that could not be written. The text is "File Path Name: <path> " followed by the
// cause's FileErrorText, as a message box shows it; reason says why where that text does not
// ("The file could not be accessed."), for a command line that can say more.
class FileError : public AppError {
public:
    FileError(const std::string& text, std::string why) : AppError(text), why(std::move(why)) {}

    // Empty when the text says it all.
    const std::string& reason() const { return why; }

    // A failure's text followed by its reason, if it is a FileError that has one.
    static std::string withReason(const AppError& failure) {
        const auto* fileError = dynamic_cast<const FileError*>(&failure);
        return fileError == nullptr || fileError->why.empty()
                   ? std::string(failure.what())
                   : std::string(failure.what()) + " " + fileError->why;
    }

private:
    std::string why;
};

} // namespace veltro
