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
    std::optional<std::string> executeFile;
    std::string exportTarget = "-";
    std::string delimiter = "\t";
    bool header = true;

    bool help = false;
    bool version = false;
    // Anything not understood: the program shows the usage text and quits.
    bool invalid = false;
};

// Parses the arguments after the program name.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The text for --help.
std::string helpText();

} // namespace veltro
