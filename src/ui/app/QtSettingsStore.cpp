#include "app/QtSettingsStore.h"

#include "settings/IntegerText.h"

namespace veltro {

QtSettingsStore::QtSettingsStore()
    : settings(QSettings::IniFormat, QSettings::UserScope, "Kellamoor", "Veltro (using ODBC)") {}

QtSettingsStore::QtSettingsStore(const QString& iniFile)
    : settings(iniFile, QSettings::IniFormat) {}

QString QtSettingsStore::keyOf(const std::string& section, const std::string& entry) {
    QString group = QString::fromStdString(section);
    group.replace('\\', '/');
    return group + '/' + QString::fromStdString(entry);
}

int QtSettingsStore::readInt(const std::string& section, const std::string& entry,
                             int defaultValue) const {
    const QVariant value = settings.value(keyOf(section, entry));
    if (!value.isValid()) {
        return defaultValue;
    }
    return parseStoredInteger(value.toString().toStdString()).value_or(defaultValue);
}

std::string QtSettingsStore::readText(const std::string& section, const std::string& entry,
                                      const std::string& defaultValue) const {
    const QVariant value = settings.value(keyOf(section, entry));
    return value.isValid() ? value.toString().toStdString() : defaultValue;
}

void QtSettingsStore::writeInt(const std::string& section, const std::string& entry, int value) {
    settings.setValue(keyOf(section, entry), value);
}

void QtSettingsStore::writeText(const std::string& section, const std::string& entry,
                                const std::string& value) {
    settings.setValue(keyOf(section, entry), QString::fromStdString(value));
}

} // namespace veltro
