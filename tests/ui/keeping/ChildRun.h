#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace veltro::test {

struct ChildResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the recovery child in its own folder with the environment given (besides the
// test's). With killWhenKept it is ended with SIGKILL once it says its text is kept.
// Apart from the tests that use Qt, whose "signals" keyword the program runner's field
// would clash with.
ChildResult runRecoveryChild(const std::vector<std::string>& args,
                             const std::filesystem::path& runFolder,
                             const std::vector<std::string>& environment, bool killWhenKept);

} // namespace veltro::test
