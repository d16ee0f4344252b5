// The per-user settings store: VB's GetSetting/SaveSetting/DeleteSetting by
// application, section and key. Every value is text, as VB stores it.
//
// Each application has one INI file, <folder>/<app>.ini, where the folder is
// $BELMORA_SETTINGS_DIR when set (tests point it at a temporary folder), else
// $XDG_CONFIG_HOME/belmora, else ~/.config/belmora.
#pragma once

#include <string>

namespace sys {

// The folder that holds the settings files.
std::string SettingsFolder();
// The INI file of one application.
std::string SettingsFile(const std::string& app);

// The stored text, or `defaultValue` when the key (or its section) is missing.
std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& defaultValue = {});

// Stores the text at once, creating the file and its folder when needed.
void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                 const std::string& value);

// Deletes one key, or the whole section when `key` is empty. Deleting what is
// not there raises error 5, as VB does.
void DeleteSetting(const std::string& app, const std::string& section, const std::string& key = {});

}  // namespace sys
