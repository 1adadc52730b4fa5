#pragma once

#include "settings/SettingsStore.h"

#include <map>
#include <string>
#include <utility>

namespace veltro {

// A settings store held in memory, for tests and for runs that must not touch the
// user's stored settings. Integers are kept as their decimal text, as a settings file
// would keep them.
class MemorySettingsStore : public SettingsStore {
public:
    int readInt(const std::string& section, const std::string& entry,
                int defaultValue) const override;
    std::string readText(const std::string& section, const std::string& entry,
                         const std::string& defaultValue) const override;
    void writeInt(const std::string& section, const std::string& entry, int value) override;
    void writeText(const std::string& section, const std::string& entry,
                   const std::string& value) override;

    bool contains(const std::string& section, const std::string& entry) const;
    std::size_t size() const { return entries.size(); }

private:
    std::map<std::pair<std::string, std::string>, std::string> entries;
};

} // namespace veltro
