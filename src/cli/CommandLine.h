#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltro {

inline constexpr const char* usageText = "Usage: Standard shell commands, DDE, and file open only.";

// What the program was asked to do on its command line.
struct CommandLine {
    std::optional<std::string> connectString; // --connect CONNSTR
    std::optional<std::string> fileToOpen;    // a query file

    // The headless run: --execute FILE|- [--export FILE|-] [--delimiter ...] [--no-header]
    // [--null TEXT] [--history]
    std::optional<std::string> executeFile;
    std::string exportTarget = "-";
    std::string delimiter = "\t";
    bool header = true;
    std::string nullText; // written for a NULL value
    bool history = false; // --history: the batch goes into the query history

    // The driver information report: --driver-info [--output FILE|-] [--diff CONNSTR]
    bool driverInfo = false;
    std::string outputTarget = "-";
    std::optional<std::string> diffConnectString;

    bool help = false;
    bool version = false;
    // Anything not understood: the program says what and quits.
    bool invalid = false;
    // With invalid: what is wrong, naming the option.
    std::string problem;
};

// Parses the arguments after the program name. A run without a window and without --connect
// takes the connect string from the environment (VELTRO_CONNECT), given here, so that a
// password need not show in the process list.
CommandLine parseCommandLine(const std::vector<std::string>& arguments,
                             const std::optional<std::string>& environmentConnect = std::nullopt);

// The text for --help.
std::string helpText();

} // namespace veltro
