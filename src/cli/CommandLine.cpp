#include "cli/CommandLine.h"

#include <initializer_list>
#include <map>
#include <set>

namespace veltro {

namespace {

bool isOptionName(const std::string& argument) {
    static const std::set<std::string> names = {
        "--help",   "-h",     "--version",   "--connect",   "--execute",
        "--export", "--null", "--delimiter", "--no-header", "--driver-info",
        "--output", "--diff", "--history"};
    return names.contains(argument);
}

const std::map<std::string, std::string>& delimiterNames() {
    static const std::map<std::string, std::string> names = {
        {"comma", ","}, {"tab", "\t"}, {"pipe", "|"}, {"none", ""}};
    return names;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments,
                             const std::optional<std::string>& environmentConnect) {
    CommandLine line;
    // The first problem found is the one said.
    const auto refuse = [&line](const std::string& problem) {
        if (!line.invalid) {
            line.invalid = true;
            line.problem = problem;
        }
    };
    // The options given, each once.
    std::set<std::string> given;
    // Takes the option's value; an option name in its place means that the value was left out.
    const auto takeValue = [&](std::size_t& i, const std::string& missing) -> std::string {
        if (i + 1 >= arguments.size() || isOptionName(arguments[i + 1])) {
            refuse(arguments[i] + " needs " + missing + ".");
            return {};
        }
        return arguments[++i];
    };
    for (std::size_t i = 0; i < arguments.size() && !line.invalid; ++i) {
        const std::string& argument = arguments[i];
        if (isOptionName(argument) && !given.insert(argument).second) {
            refuse(argument + " is given twice.");
        } else if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--version") {
            line.version = true;
        } else if (argument == "--connect") {
            line.connectString = takeValue(i, "a connect string");
        } else if (argument == "--execute") {
            line.executeFile = takeValue(i, "a file name, or - for standard input");
        } else if (argument == "--export") {
            line.exportTarget = takeValue(i, "a file name, or - for standard output");
        } else if (argument == "--delimiter") {
            const std::string value = i + 1 < arguments.size() ? arguments[++i] : std::string();
            const auto known = delimiterNames().find(value);
            if (known == delimiterNames().end()) {
                refuse("--delimiter takes comma, tab, pipe or none" +
                       (value.empty() ? std::string() : ", not \"" + value + "\"") + ".");
            } else {
                line.delimiter = known->second;
            }
        } else if (argument == "--null") {
            line.nullText = takeValue(i, "the text written for NULL (\"\" for none)");
        } else if (argument == "--no-header") {
            line.header = false;
        } else if (argument == "--history") {
            line.history = true;
        } else if (argument == "--driver-info") {
            line.driverInfo = true;
        } else if (argument == "--output") {
            line.outputTarget = takeValue(i, "a file name, or - for standard output");
        } else if (argument == "--diff") {
            line.diffConnectString =
                takeValue(i, "the connect string of the data source to compare with");
        } else if (argument.starts_with("-")) {
            refuse(argument + " is not an option (--help lists them).");
        } else if (line.fileToOpen) {
            refuse("only one file can be opened, not also \"" + argument + "\".");
        } else {
            line.fileToOpen = argument;
        }
    }
    const auto belongsTo = [&given, &refuse](std::initializer_list<const char*> options,
                                             const std::string& owner) {
        for (const char* option : options) {
            if (given.contains(option)) {
                refuse(std::string(option) + " belongs to " + owner + ".");
            }
        }
    };
    const bool withoutWindow = given.contains("--execute") || given.contains("--driver-info");
    if (given.contains("--execute") && given.contains("--driver-info")) {
        refuse("--execute and --driver-info cannot be used together.");
    }
    if (!given.contains("--execute")) {
        belongsTo({"--export", "--delimiter", "--null", "--no-header", "--history"}, "--execute");
    }
    if (!given.contains("--driver-info")) {
        belongsTo({"--output", "--diff"}, "--driver-info");
    }
    if (given.contains("--output") && given.contains("--diff")) {
        refuse("--output cannot be used with --diff, whose differences go to standard output.");
    }
    if (withoutWindow && line.fileToOpen) {
        refuse("a query file (\"" + *line.fileToOpen + "\") is opened only in a window, not with " +
               (line.executeFile ? "--execute." : "--driver-info."));
    }
    if (withoutWindow && !line.connectString) {
        if (environmentConnect && !environmentConnect->empty()) {
            line.connectString = environmentConnect;
        } else {
            refuse(std::string(line.driverInfo ? "--driver-info" : "--execute") +
                   " needs a connect string: --connect CONNSTR, or VELTRO_CONNECT in the "
                   "environment" +
                   (environmentConnect ? " (it is set, but empty)." : "."));
        }
    }
    return line;
}

std::string helpText() {
    return "Veltro (using ODBC): a SQL workbench for ODBC data sources.\n"
           "\n"
           "Usage:\n"
           "  veltro [FILE.qry] [--connect CONNSTR]\n"
           "  veltro [--connect CONNSTR] --execute FILE|- [--export FILE|-]\n"
           "         [--delimiter comma|tab|pipe|none] [--no-header] [--null TEXT] [--history]\n"
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
           "  --history          record the batch in the query history, as the window does\n"
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
