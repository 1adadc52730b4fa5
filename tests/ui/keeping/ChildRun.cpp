#include "ChildRun.h"

#include "ProgramRun.h"

namespace veltro::test {

ChildResult runRecoveryChild(const std::vector<std::string>& args,
                             const std::filesystem::path& runFolder,
                             const std::vector<std::string>& environment, bool killWhenKept) {
    ProgramSetup setup;
    setup.environment = environment;
    if (killWhenKept) {
        setup.signals = {{runFolder / "stdout.txt", "kept", SIGKILL}};
    }
    const ProgramResult result = runProgram(VELTRO_RECOVERY_CHILD, args, runFolder, "", setup);
    return {result.exitCode, result.out, result.err};
}

} // namespace veltro::test
