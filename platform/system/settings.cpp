#include "platform/system/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <cstdlib>

#include "platform/vb/runtime_error.h"

namespace sys {

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A section is an INI group; its keys live under it.
QString KeyPath(const std::string& section, const std::string& key) { return Q(section) + "/" + Q(key); }

}  // namespace

std::string SettingsFolder() {
    if (auto dir = Env("BELMORA_SETTINGS_DIR"); !dir.empty()) return dir;
    if (auto xdg = Env("XDG_CONFIG_HOME"); !xdg.empty()) return xdg + "/belmora";
    auto home = Env("HOME");
    return (home.empty() ? std::string(".") : home) + "/.config/belmora";
}

std::string SettingsFile(const std::string& app) { return SettingsFolder() + "/" + app + ".ini"; }

std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& defaultValue) {
    const QString file = Q(SettingsFile(app));
    if (!QFileInfo::exists(file)) return defaultValue;  // reading never creates anything
    QSettings store(file, QSettings::IniFormat);
    const QVariant v = store.value(KeyPath(section, key));
    if (!v.isValid()) return defaultValue;
    return v.toString().toStdString();
}

void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                 const std::string& value) {
    QDir().mkpath(Q(SettingsFolder()));
    QSettings store(Q(SettingsFile(app)), QSettings::IniFormat);
    store.setValue(KeyPath(section, key), Q(value));
    store.sync();
}

void DeleteSetting(const std::string& app, const std::string& section, const std::string& key) {
    const QString file = Q(SettingsFile(app));
    if (!QFileInfo::exists(file)) vb::Raise(vb::err::InvalidCall);
    QSettings store(file, QSettings::IniFormat);
    const QString path = key.empty() ? Q(section) : KeyPath(section, key);
    const bool present = key.empty() ? store.childGroups().contains(path) : store.contains(path);
    if (!present) vb::Raise(vb::err::InvalidCall);
    store.remove(path);
    store.sync();
}

}  // namespace sys
