#pragma once

#include "ConnectionString.h"
#include "IniFile.h"
#include "Profile.h"

#include <optional>
#include <string>
#include <string_view>

namespace veltro::testdriver {

// Builds a Profile from the file named by Profile= (or VELTRO_TESTDRIVER_PROFILE)
// and then the connection-string attributes, which override the file.
class ProfileLoader {
public:
    static std::optional<Profile> load(const ConnectionString& attributes, std::string& error);

private:
    enum class Outcome { Applied, Unknown, Invalid };

    explicit ProfileLoader(Profile& profile) : profile_(profile) {}

    bool applyFile(const IniFile& file, std::string& error);
    bool applyListSection(const IniSection& section, std::string& error);
    Outcome applyKey(std::string_view key, std::string_view value);
    Outcome applyInfo(std::string_view key, std::string_view value);
    Outcome applyMissing(std::string_view list);

    Profile& profile_;
};

} // namespace veltro::testdriver
