#pragma once

#include "settings/SettingsStore.h"

#include <QSettings>

namespace veltro {

// The per-user settings store on QSettings (organisation "Kellamoor", application
// "Veltro (using ODBC)"). A "\\" in a section name becomes a settings group level.
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();
    // A store on a given file, for tests.
    explicit QtSettingsStore(const QString& iniFile);

    int readInt(const std::string& section, const std::string& entry,
                int defaultValue) const override;
    std::string readText(const std::string& section, const std::string& entry,
                         const std::string& defaultValue) const override;
    void writeInt(const std::string& section, const std::string& entry, int value) override;
    void writeText(const std::string& section, const std::string& entry,
                   const std::string& value) override;

private:
    static QString keyOf(const std::string& section, const std::string& entry);

    mutable QSettings settings;
};

} // namespace veltro
