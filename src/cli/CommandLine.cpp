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

CommandLine parseCommandLine(const std::vector<std::string>& arguments,
                             const std::optional<std::string>& environmentConnect) {
    CommandLine line;
    bool exportGiven = false;
    bool delimiterGiven = false;
    bool nullGiven = false;
    bool outputGiven = false;
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
            // A missing value leaves it empty, which no name has.
            takeValue(i, value);
            const auto known = delimiterNames().find(value);
            if (delimiterGiven) {
                line.invalid = true;
            } else if (known == delimiterNames().end()) {
                line.invalid = true;
                line.problem = "--delimiter takes comma, tab, pipe or none" +
                               (value.empty() ? std::string() : ", not \"" + value + "\"") + ".";
            } else {
                line.delimiter = known->second;
            }
            delimiterGiven = true;
        } else if (argument == "--null") {
            line.invalid = nullGiven || !takeValue(i, line.nullText);
            nullGiven = true;
        } else if (argument == "--no-header") {
            line.header = false;
        } else if (argument == "--driver-info") {
            line.invalid = line.driverInfo;
            line.driverInfo = true;
        } else if (argument == "--output") {
            line.invalid = outputGiven || !takeValue(i, line.outputTarget);
            outputGiven = true;
        } else if (argument == "--diff") {
            line.invalid = line.diffConnectString.has_value() || !takeValue(i, value);
            line.diffConnectString = value;
        } else if (!argument.empty() && argument[0] != '-' && !line.fileToOpen) {
            line.fileToOpen = argument;
        } else {
            line.invalid = true;
        }
    }
    const bool exportOptions = exportGiven || delimiterGiven || nullGiven || !line.header;
    const bool withoutWindow = line.executeFile || line.driverInfo;
    if (withoutWindow && !line.connectString && environmentConnect &&
        !environmentConnect->empty()) {
        line.connectString = environmentConnect;
    }
    if (withoutWindow) {
        line.invalid = line.invalid || !line.connectString || line.fileToOpen.has_value();
    }
    // The export options belong to --execute, the report's to --driver-info.
    if ((exportOptions && !line.executeFile) ||
        ((outputGiven || line.diffConnectString) && !line.driverInfo) ||
        (line.executeFile && line.driverInfo) || (outputGiven && line.diffConnectString)) {
        line.invalid = true;
    }
    return line;
}

std::string helpText() {
    return "Veltro (using ODBC): a SQL workbench for ODBC data sources.\n"
           "\n"
           "Usage:\n"
           "  veltro [FILE.qry] [--connect CONNSTR]\n"
           "  veltro [--connect CONNSTR] --execute FILE|- [--export FILE|-]\n"
           "         [--delimiter comma|tab|pipe|none] [--no-header] [--null TEXT]\n"
           "  veltro [--connect CONNSTR] --driver-info [--output FILE|- | --diff CONNSTR2]\n"
           "\n"
           "  FILE.qry           open a query file\n"
           "  --connect CONNSTR  open the first session on this ODBC connect string\n"
           "  --execute FILE|-   run the file's text (or standard input) as one batch without\n"
           "                     a window; every result set is written to the export target\n"
           "                     and the messages and the status to standard error\n"
           "  --export FILE|-    where the results go (default: standard output)\n"
           "  --delimiter NAME   cell delimiter of the export (default: tab)\n"
           "  --no-header        leave out the column names\n"
           "  --null TEXT        the text written for a NULL value (default: empty)\n"
           "  --driver-info      write the report of what the ODBC driver declares about itself\n"
           "  --output FILE|-    where the report goes (default: standard output)\n"
           "  --diff CONNSTR2    instead, show the report lines that differ from the report of\n"
           "                     a second data source, as a unified diff\n"
           "  --help             show this text\n"
           "  --version          show the program's version\n"
           "\n"
           "Without --connect, --execute and --driver-info take the connect string from the\n"
           "environment variable VELTRO_CONNECT, where a password does not show in the process\n"
           "list.\n"
           "\n"
           "Ctrl+C cancels the batch; a second Ctrl+C, or SIGTERM, ends the program at once.\n"
           "Exit status of --execute: 0 completed, 1 completed with errors, 130 cancelled\n"
           "(Ctrl+C), 143 terminated (SIGTERM), 141 the reader of the output went away,\n"
           "2 usage, file, connection or output failure.\n"
           "Exit status of --driver-info: 0 written (with --diff: the reports are equal),\n"
           "1 the reports differ, 2 usage, connection or output failure.\n";
}

} // namespace veltro
