#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

class QSettings;

namespace pordex::ui {

// A window's place as kept in the settings file, in dialog units: position relative to the
// desktop origin of the program's windows, size of the window's client area.
struct StoredPlacement {
    std::optional<int> x, y;
    std::optional<int> width, height;  // kept for resizable windows only
    bool maximize = false;
    bool minimize = false;
};

struct Placement {
    int x = 0, y = 0, width = 0, height = 0;
    bool maximize = false;
    bool minimize = false;
};

// The settings store on "pordex.INI": one section per window, named after its procedure, with the
// keys "XPos", "YPos", "Width", "Height", "Maximize", "Minimize" ("Yes"/"No"). Its operations are
// serialised, so windows of any thread may use it.
class SettingsStore {
  public:
    SettingsStore();
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Opens the store on `file` (it need not exist: a missing file gives no saved values).
    void init(const std::filesystem::path& file);
    // Writes what is pending and lets the file go.
    void close();
    bool isOpen() const;
    std::filesystem::path file() const;

    // What section `section` holds of a window's place; nothing when the store is closed.
    StoredPlacement fetch(std::string_view section) const;
    // Saves a window's place; width and height only for resizable windows.
    void update(std::string_view section, const Placement& placement, bool resizable);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    void setValue(std::string_view section, std::string_view key, std::string_view value);

  private:
    mutable std::mutex mutex_;
    std::unique_ptr<QSettings> settings_;
    std::filesystem::path file_;
};

// The program's one store (INIMgr).
SettingsStore& iniMgr();

// Where "pordex.INI" lives: $XDG_CONFIG_HOME/pordex/pordex.INI (~/.config/pordex/pordex.INI when
// the variable is unset), the per-user place where Windows keeps private profiles.
std::filesystem::path defaultSettingsPath();

}  // namespace pordex::ui
