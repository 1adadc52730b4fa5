#pragma once

#include <string>

namespace veltro {

// Causes of a failed file operation.
enum FileErrorCause : int {
    fileErrorGeneric = 1,
    fileErrorNotFound = 2,
    fileErrorBadPath = 3,
    fileErrorTooManyOpenFiles = 4,
    fileErrorAccessDenied = 5,
    fileErrorInvalidFile = 6,
    fileErrorRemoveCurrentDir = 7,
    fileErrorDirectoryFull = 8,
    fileErrorBadSeek = 9,
    fileErrorHardIO = 10,
    fileErrorSharingViolation = 11,
    fileErrorLockViolation = 12,
    fileErrorDiskFull = 13,
    fileErrorEndOfFile = 14,
};

// The cause behind an errno value. When a file is being created, a missing folder on the
// way is a bad path rather than a missing file.
int fileErrorCauseOf(int errnoValue, bool creating);

// The user's text for a cause.
std::string FileErrorText(int cause);

} // namespace veltro
