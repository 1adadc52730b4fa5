#include "ProfileLoader.h"

#include "FunctionIds.h"

#include <cctype>
#include <charconv>
#include <cstdlib>

namespace veltro::testdriver {

namespace {

constexpr const char* callKindNames[callKindCount] = {"exec",        "fetch",   "getdata",
                                                      "moreresults", "catalog", "describe"};

std::optional<int> parseInt(std::string_view text) {
    const std::string value = trim(text);
    int number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || value.empty())
        return std::nullopt;
    return number;
}

std::optional<Trigger> parseTrigger(std::string_view text) {
    const std::string value = trim(text);
    if (value == "*" || iequals(value, "all"))
        return Trigger{0, true};
    const auto number = parseInt(value);
    if (!number || *number < 0)
        return std::nullopt;
    return Trigger{*number, false};
}

// "STATE", "STATE|native" or "STATE|native|message".
std::optional<DiagRecord> parseError(std::string_view text, const DiagRecord& defaults) {
    DiagRecord record = defaults;
    const std::string value = trim(text);
    const size_t first = value.find('|');
    record.state = trim(value.substr(0, first));
    if (record.state.size() != 5)
        return std::nullopt;
    if (first == std::string::npos)
        return record;
    const size_t second = value.find('|', first + 1);
    const auto native = parseInt(value.substr(first + 1, second - first - 1));
    if (!native)
        return std::nullopt;
    record.native = *native;
    if (second != std::string::npos) {
        record.message = trim(value.substr(second + 1));
        if (record.message.empty() || record.message.front() != '[')
            record.message = messagePrefix + record.message;
    }
    return record;
}

OptionalText field(const std::vector<std::string>& fields, size_t index) {
    if (index >= fields.size() || fields[index].empty())
        return std::nullopt;
    // An empty field is NULL; "" is the empty text.
    if (fields[index] == "\"\"")
        return std::string();
    return fields[index];
}

bool isListSection(std::string_view name) {
    return iequals(name, "typeinfo") || iequals(name, "catalog") || iequals(name, "objects") ||
           iequals(name, "databases") || iequals(name, "columns");
}

} // namespace

std::optional<Profile> ProfileLoader::load(const ConnectionString& attributes, std::string& error) {
    Profile profile;
    ProfileLoader loader(profile);
    std::optional<std::string> path = attributes.find("Profile");
    if (!path) {
        if (const char* fromEnvironment = std::getenv("VELTRO_TESTDRIVER_PROFILE"))
            path = fromEnvironment;
    }
    if (path && !path->empty()) {
        const auto file = IniFile::load(*path);
        if (!file) {
            error = "Cannot read profile '" + *path + "'.";
            return std::nullopt;
        }
        if (!loader.applyFile(*file, error))
            return std::nullopt;
    }
    for (const auto& [key, value] : attributes.attributes()) {
        // Connection strings carry keys meant for others (DSN, UID, ...): ignore unknown ones.
        if (loader.applyKey(key, value) == Outcome::Invalid) {
            error = "Invalid value '" + value + "' for attribute '" + key + "'.";
            return std::nullopt;
        }
    }
    return profile;
}

bool ProfileLoader::applyFile(const IniFile& file, std::string& error) {
    for (const auto& section : file.sections()) {
        if (isListSection(section.name)) {
            if (!applyListSection(section, error))
                return false;
            continue;
        }
        const bool info = iequals(section.name, "info");
        const bool functions = iequals(section.name, "functions");
        if (!info && !functions && !iequals(section.name, "driver") &&
            !iequals(section.name, "faults")) {
            error = "Unknown profile section [" + section.name + "].";
            return false;
        }
        for (const auto& entry : section.entries) {
            Outcome outcome = Outcome::Unknown;
            if (info)
                outcome = applyInfo(entry.key, entry.value);
            else if (functions && iequals(entry.key, "missing"))
                outcome = applyMissing(entry.value);
            else if (!functions)
                outcome = applyKey(entry.key, entry.value);
            // A typo in a profile would silently weaken a test, so it is an error.
            if (outcome != Outcome::Applied) {
                error = "Bad profile line " + std::to_string(entry.line) + ": '" + entry.key +
                        "' in [" + section.name + "].";
                return false;
            }
        }
    }
    return true;
}

bool ProfileLoader::applyListSection(const IniSection& section, std::string& error) {
    for (const auto& entry : section.entries) {
        const auto fields = split(entry.value, '|');
        bool ok = true;
        if (iequals(section.name, "objects")) {
            profile_.sources[entry.key].push_back(entry.value);
        } else if (iequals(section.name, "columns")) {
            const auto declared = parseTypeSpec(entry.value);
            ok = declared.has_value();
            if (ok)
                profile_.columnTypes[entry.key] = *declared;
        } else if (iequals(section.name, "databases")) {
            if (iequals(entry.key, "database"))
                profile_.databases.push_back(entry.value);
            else if (iequals(entry.key, "current"))
                profile_.currentDatabase = entry.value;
            else if (iequals(entry.key, "error"))
                ok =
                    (profile_.databasesError = parseError(entry.value, profile_.error)).has_value();
            else
                ok = false;
        } else if (iequals(section.name, "typeinfo") && iequals(entry.key, "type")) {
            std::vector<OptionalText> row;
            for (size_t i = 0; i < fields.size() && i < 19; ++i)
                row.push_back(field(fields, i));
            if (row.size() > 1 && row[1]) {
                const auto type = sqlTypeFromName(*row[1]);
                ok = type.has_value();
                if (ok)
                    row[1] = std::to_string(*type);
            }
            ok = ok && row.size() >= 2 && row[0];
            profile_.typeInfo.push_back(std::move(row));
        } else if (iequals(section.name, "catalog") && iequals(entry.key, "table")) {
            ok = fields.size() >= 4 && !fields[2].empty();
            if (ok)
                profile_.tables.push_back(
                    {field(fields, 0), field(fields, 1), fields[2], fields[3], field(fields, 4)});
        } else if (iequals(section.name, "catalog") && iequals(entry.key, "procedure")) {
            ok = fields.size() >= 3 && !fields[2].empty();
            if (ok) {
                const auto type = fields.size() > 4 ? parseInt(fields[4]) : SQL_PT_PROCEDURE;
                ok = type.has_value();
                profile_.procedures.push_back({field(fields, 0), field(fields, 1), fields[2],
                                               field(fields, 3), type.value_or(0)});
            }
        } else if (iequals(section.name, "catalog") && iequals(entry.key, "column")) {
            const auto declared = fields.size() >= 3 ? parseTypeSpec(fields[2]) : std::nullopt;
            ok = declared.has_value();
            if (ok) {
                CatalogColumn column{fields[0], fields[1], *declared,
                                     typeNameOf(declared->sqlType)};
                if (fields.size() > 3 && !fields[3].empty())
                    column.typeName = fields[3];
                if (fields.size() > 4)
                    column.nullable = static_cast<SQLSMALLINT>(parseInt(fields[4]).value_or(1));
                profile_.columns.push_back(std::move(column));
            }
        } else {
            ok = false;
        }
        if (!ok) {
            error =
                "Bad profile line " + std::to_string(entry.line) + " in [" + section.name + "].";
            return false;
        }
    }
    return true;
}

ProfileLoader::Outcome ProfileLoader::applyInfo(std::string_view key, std::string_view value) {
    const auto id = infoIdFromKey(key);
    if (!id)
        return Outcome::Unknown;
    const auto parsed = parseInfoValue(*id, value);
    if (!parsed)
        return Outcome::Invalid;
    profile_.info[*id] = *parsed;
    return Outcome::Applied;
}

ProfileLoader::Outcome ProfileLoader::applyMissing(std::string_view list) {
    for (const auto& name : split(list, ',')) {
        const auto id = findFunctionId(name);
        if (!id)
            return Outcome::Invalid;
        profile_.missingFunctions.insert(*id);
    }
    return Outcome::Applied;
}

ProfileLoader::Outcome ProfileLoader::applyKey(std::string_view key, std::string_view value) {
    const auto setInt = [&](int& target) {
        const auto number = parseInt(value);
        if (!number || *number < 0)
            return Outcome::Invalid;
        target = *number;
        return Outcome::Applied;
    };
    const auto setTrigger = [&](Trigger& target) {
        const auto trigger = parseTrigger(value);
        if (!trigger)
            return Outcome::Invalid;
        target = *trigger;
        return Outcome::Applied;
    };
    const auto setError = [&](std::optional<DiagRecord>& target) {
        target = parseError(value, profile_.error);
        return target ? Outcome::Applied : Outcome::Invalid;
    };
    const std::string name = trim(key);
    const std::string text = trim(value);
    if (iequals(name, "Database"))
        profile_.database = text;
    else if (iequals(name, "Schema"))
        profile_.schema = text;
    else if (iequals(name, "StatsFile"))
        profile_.statsFile = text;
    else if (iequals(name, "Profile"))
        return Outcome::Applied;
    else if (iequals(name, "Missing"))
        return applyMissing(text);
    else if (iequals(name, "RowCount"))
        profile_.rowCountUnknown = text == "-1";
    else if (istartsWith(name, "StillExecuting.")) {
        for (size_t kind = 0; kind < callKindCount; ++kind) {
            if (iequals(name.substr(15), callKindNames[kind]))
                return setInt(profile_.stillExecuting[kind]);
        }
        return Outcome::Unknown;
    } else if (iequals(name, "FailExec"))
        return setTrigger(profile_.failExec);
    else if (iequals(name, "FailOn"))
        profile_.failOnText = text;
    else if (iequals(name, "FailFetch"))
        return setTrigger(profile_.failFetch);
    else if (iequals(name, "FailMoreResults"))
        return setTrigger(profile_.failMoreResults);
    else if (iequals(name, "FailAllocStmt"))
        return setTrigger(profile_.failAllocStmt);
    else if (iequals(name, "FailCatalog"))
        return setTrigger(profile_.failCatalog);
    else if (iequals(name, "Error")) {
        std::optional<DiagRecord> record;
        const Outcome outcome = setError(record);
        if (record)
            profile_.error = *record;
        return outcome;
    } else if (iequals(name, "ErrorRecords"))
        return setInt(profile_.errorRecords);
    else if (iequals(name, "FailConnect")) {
        if (iequals(text, "NO_DATA")) {
            profile_.connectNoData = true;
            return Outcome::Applied;
        }
        return setError(profile_.connectError);
    } else if (iequals(name, "NoTotal")) {
        if (iequals(text, "off"))
            profile_.noTotal = NoTotalMode::Off;
        else if (iequals(text, "long"))
            profile_.noTotal = NoTotalMode::LongColumns;
        else if (iequals(text, "all"))
            profile_.noTotal = NoTotalMode::AllColumns;
        else
            return Outcome::Invalid;
    } else if (iequals(name, "ColumnSize") || istartsWith(name, "ColumnSize.")) {
        int size = 0;
        if (setInt(size) == Outcome::Invalid)
            return Outcome::Invalid;
        if (name.size() > 10)
            profile_.columnSizes[name.substr(11)] = static_cast<SQLULEN>(size);
        else
            profile_.columnSize = static_cast<SQLULEN>(size);
    } else if (istartsWith(name, "ReportedLength.")) {
        // Negative lengths are what this fault is for.
        const auto length = parseInt(value);
        if (!length)
            return Outcome::Invalid;
        profile_.reportedLengths[name.substr(15)] = *length;
    } else if (iequals(name, "RoundApproximate"))
        profile_.roundApproximate = text == "1";
    else if (istartsWith(name, "ColumnType.")) {
        const auto declared = parseTypeSpec(text);
        if (!declared)
            return Outcome::Invalid;
        profile_.columnTypes[name.substr(11)] = *declared;
    } else if (iequals(name, "ExecDelay"))
        return setInt(profile_.execDelayMs);
    else if (iequals(name, "FetchDelay"))
        return setInt(profile_.fetchDelayMs);
    else if (iequals(name, "MissCancel"))
        return setInt(profile_.missCancels);
    else if (iequals(name, "Databases"))
        profile_.databases = split(text, ',');
    else if (iequals(name, "CurrentDatabase"))
        profile_.currentDatabase = text;
    else if (iequals(name, "DatabasesError"))
        return setError(profile_.databasesError);
    else if (istartsWith(name, "Info."))
        return applyInfo(name.substr(5), text);
    else if (findInfoType(name) != nullptr && !std::isdigit(static_cast<unsigned char>(name[0])))
        return applyInfo(name, text);
    else
        return Outcome::Unknown;
    return Outcome::Applied;
}

} // namespace veltro::testdriver
