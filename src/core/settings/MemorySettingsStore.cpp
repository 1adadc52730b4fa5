#include "settings/MemorySettingsStore.h"

#include "settings/IntegerText.h"

namespace veltro {

int MemorySettingsStore::readInt(const std::string& section, const std::string& entry,
                                 int defaultValue) const {
    const auto found = entries.find({section, entry});
    if (found == entries.end()) {
        return defaultValue;
    }
    return parseStoredInteger(found->second).value_or(defaultValue);
}

std::string MemorySettingsStore::readText(const std::string& section, const std::string& entry,
                                          const std::string& defaultValue) const {
    const auto found = entries.find({section, entry});
    return found == entries.end() ? defaultValue : found->second;
}

void MemorySettingsStore::writeInt(const std::string& section, const std::string& entry,
                                   int value) {
    entries[{section, entry}] = std::to_string(value);
}

void MemorySettingsStore::writeText(const std::string& section, const std::string& entry,
                                    const std::string& value) {
    entries[{section, entry}] = value;
}

bool MemorySettingsStore::contains(const std::string& section, const std::string& entry) const {
    return entries.count({section, entry}) != 0;
}

} // namespace veltro
