#include "cli/CommandLine.h"

namespace veltro {

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--version") {
            line.version = true;
        } else if (argument == "--connect") {
            if (i + 1 >= arguments.size() || line.connectString) {
                line.invalid = true;
                break;
            }
            line.connectString = arguments[++i];
        } else if (!argument.empty() && argument[0] != '-' && !line.fileToOpen) {
            line.fileToOpen = argument;
        } else {
            line.invalid = true;
            break;
        }
    }
    return line;
}

std::string helpText() {
    return "Veltro (using ODBC): a SQL workbench for ODBC data sources.\n"
           "\n"
           "Usage: veltro [FILE.qry] [--connect CONNSTR]\n"
           "  FILE.qry           open a query file\n"
           "  --connect CONNSTR  open the first session on this ODBC connect string\n"
           "  --help             show this text\n"
           "  --version          show the program's version\n";
}

} // namespace veltro
