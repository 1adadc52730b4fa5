#include "cli/CommandLine.h"

#include <map>

namespace veltro {

namespace {

const std::map<std::string, std::string>& delimiterNames() {
    static const std::map<std::string, std::string> names = {
        {"comma", ","}, {"tab", "\t"}, {"pipe", "|"}, {"none", ""}};
    return names;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool exportGiven = false;
    bool delimiterGiven = false;
    const auto takeValue = [&](std::size_t& i, std::string& target) {
        if (i + 1 >= arguments.size()) {
            return false;
        }
        target = arguments[++i];
        return true;
    };
    for (std::size_t i = 0; i < arguments.size() && !line.invalid; ++i) {
        const std::string& argument = arguments[i];
        std::string value;
        if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--version") {
            line.version = true;
        } else if (argument == "--connect") {
            line.invalid = line.connectString.has_value() || !takeValue(i, value);
            line.connectString = value;
        } else if (argument == "--execute") {
            line.invalid = line.executeFile.has_value() || !takeValue(i, value);
            line.executeFile = value;
        } else if (argument == "--export") {
            line.invalid = exportGiven || !takeValue(i, line.exportTarget);
            exportGiven = true;
        } else if (argument == "--delimiter") {
            const auto known =
                takeValue(i, value) ? delimiterNames().find(value) : delimiterNames().end();
            line.invalid = delimiterGiven || known == delimiterNames().end();
            if (!line.invalid) {
                line.delimiter = known->second;
            }
            delimiterGiven = true;
        } else if (argument == "--no-header") {
            line.header = false;
        } else if (!argument.empty() && argument[0] != '-' && !line.fileToOpen) {
            line.fileToOpen = argument;
        } else {
            line.invalid = true;
        }
    }
    // The export options belong to a headless run, which needs a connection and no file.
    const bool exportOptions = exportGiven || delimiterGiven || !line.header;
    if (line.executeFile) {
        line.invalid = line.invalid || !line.connectString || line.fileToOpen.has_value();
    } else if (exportOptions) {
        line.invalid = true;
    }
    return line;
}

std::string helpText() {
    return "Veltro (using ODBC): a SQL workbench for ODBC data sources.\n"
           "\n"
           "Usage:\n"
           "  veltro [FILE.qry] [--connect CONNSTR]\n"
           "  veltro --connect CONNSTR --execute FILE|- [--export FILE|-]\n"
           "         [--delimiter comma|tab|pipe|none] [--no-header]\n"
           "\n"
           "  FILE.qry           open a query file\n"
           "  --connect CONNSTR  open the first session on this ODBC connect string\n"
           "  --execute FILE|-   run the file's text (or standard input) as one batch without\n"
           "                     a window; every result set is written to the export target\n"
           "                     and the messages and the status to standard error\n"
           "  --export FILE|-    where the results go (default: standard output)\n"
           "  --delimiter NAME   cell delimiter of the export (default: tab)\n"
           "  --no-header        leave out the column names\n"
           "  --help             show this text\n"
           "  --version          show the program's version\n"
           "\n"
           "Exit status of --execute: 0 completed, 1 completed with errors, 130 cancelled\n"
           "(Ctrl+C), 2 usage, file or connection failure.\n";
}

} // namespace veltro
