#include "common/XdgFolders.h"

#include "common/AppError.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace veltro {

namespace {

// The program's folder under a base folder of the XDG base directory rules: the variable's
// value when it names an absolute folder, otherwise the fallback under $HOME. Nothing is
// created.
std::string xdgProgramFolder(const char* variable, const char* homeFallback) {
    const char* value = std::getenv(variable);
    // The rules say a relative value is invalid and to be ignored.
    if (value != nullptr && value[0] == '/') {
        return std::string(value) + "/veltro";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/" + homeFallback + "/veltro";
}

} // namespace

std::string stateFolder() {
    return xdgProgramFolder("XDG_STATE_HOME", ".local/state");
}

std::string dataFolder() {
    return xdgProgramFolder("XDG_DATA_HOME", ".local/share");
}

void makeFolders(const std::string& folder, unsigned mode) {
    const std::filesystem::path path(folder);
    std::error_code failure;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), failure);
    }
    if (::mkdir(folder.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST) {
        throw AppError(folder + ": " + std::strerror(errno));
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        throw AppError(folder + ": not a folder");
    }
}

} // namespace veltro
