#pragma once

#include <string>

namespace veltro {

// The per-user settings store: sections holding named integer and text entries.
// Section names may hold "\\" to name a subsection ("Query\\Font").
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual int readInt(const std::string& section, const std::string& entry,
                        int defaultValue) const = 0;
    virtual std::string readText(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) const = 0;
    virtual void writeInt(const std::string& section, const std::string& entry, int value) = 0;
    virtual void writeText(const std::string& section, const std::string& entry,
                           const std::string& value) = 0;
};

} // namespace veltro
