#include "common/FileErrorText.h"

#include <cerrno>

namespace veltro {

int fileErrorCauseOf(int errnoValue, bool creating) {
    switch (errnoValue) {
    case ENOENT:
        return creating ? fileErrorBadPath : fileErrorNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return fileErrorBadPath;
    case EMFILE:
    case ENFILE:
        return fileErrorTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return fileErrorAccessDenied;
    case EBADF:
        return fileErrorInvalidFile;
    case ESPIPE:
        return fileErrorBadSeek;
    case EIO:
        return fileErrorHardIO;
    case EAGAIN:
        return fileErrorLockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return fileErrorDiskFull;
    default:
        return fileErrorGeneric;
    }
}

std::string FileErrorText(int cause) {
    switch (cause) {
    case fileErrorNotFound:
        return "The file could not be located.";
    case fileErrorBadPath:
        return "All or part of the path is invalid.";
    case fileErrorTooManyOpenFiles:
        return "The permitted number of open files was exceeded.";
    case fileErrorAccessDenied:
        return "The file could not be accessed.";
    case fileErrorInvalidFile:
        return "There was an attempt to use an invalid file handle.";
    case fileErrorRemoveCurrentDir:
        return "The current working directory cannot be removed.";
    case fileErrorDirectoryFull:
        return "There are no more directory entries.";
    case fileErrorBadSeek:
        return "There was an error trying to set the file pointer.";
    case fileErrorHardIO:
        return "There was a hardware error.";
    case fileErrorSharingViolation:
        return "SHARE.EXE was not loaded, or a shared region was locked.";
    case fileErrorLockViolation:
        return "There was an attempt to lock a region that was already locked.";
    case fileErrorDiskFull:
        return "The disk is full.";
    case fileErrorEndOfFile:
        return "The end of file was reached.";
    default:
        return "An unspecified error occurred.";
    }
}

} // namespace veltro
