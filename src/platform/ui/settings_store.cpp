#include "platform/ui/settings_store.h"

#include <QDir>
#include <QSettings>
#include <QString>
#include <cstdlib>

namespace pordex::ui {
namespace {

QString qstr(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QString keyPath(std::string_view section, std::string_view key) {
    return qstr(section) + QLatin1Char('/') + qstr(key);
}

std::optional<int> intValue(const QSettings& s, const QString& key) {
    const QVariant v = s.value(key);
    if (!v.isValid()) return std::nullopt;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    return n;
}

bool yesValue(const QSettings& s, const QString& key) {
    return s.value(key).toString().trimmed().compare(QLatin1String("Yes"), Qt::CaseInsensitive) ==
           0;
}

QString yesNo(bool b) {
    return b ? QStringLiteral("Yes") : QStringLiteral("No");
}

}  // namespace

SettingsStore::SettingsStore() = default;
SettingsStore::~SettingsStore() {
    close();
}

void SettingsStore::init(const std::filesystem::path& file) {
    std::lock_guard lock(mutex_);
    if (settings_) settings_->sync();
    file_ = file;
    std::error_code ec;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
    settings_ =
        std::make_unique<QSettings>(QString::fromStdString(file.string()), QSettings::IniFormat);
}

void SettingsStore::close() {
    std::lock_guard lock(mutex_);
    if (!settings_) return;
    settings_->sync();
    settings_.reset();
}

bool SettingsStore::isOpen() const {
    std::lock_guard lock(mutex_);
    return settings_ != nullptr;
}

std::filesystem::path SettingsStore::file() const {
    std::lock_guard lock(mutex_);
    return file_;
}

StoredPlacement SettingsStore::fetch(std::string_view section) const {
    std::lock_guard lock(mutex_);
    StoredPlacement p;
    if (!settings_) return p;
    const QSettings& s = *settings_;
    p.x = intValue(s, keyPath(section, "XPos"));
    p.y = intValue(s, keyPath(section, "YPos"));
    p.width = intValue(s, keyPath(section, "Width"));
    p.height = intValue(s, keyPath(section, "Height"));
    p.maximize = yesValue(s, keyPath(section, "Maximize"));
    p.minimize = yesValue(s, keyPath(section, "Minimize"));
    return p;
}

void SettingsStore::update(std::string_view section, const Placement& p, bool resizable) {
    std::lock_guard lock(mutex_);
    if (!settings_) return;
    QSettings& s = *settings_;
    s.setValue(keyPath(section, "XPos"), p.x);
    s.setValue(keyPath(section, "YPos"), p.y);
    if (resizable) {
        s.setValue(keyPath(section, "Width"), p.width);
        s.setValue(keyPath(section, "Height"), p.height);
    }
    s.setValue(keyPath(section, "Maximize"), yesNo(p.maximize));
    s.setValue(keyPath(section, "Minimize"), yesNo(p.minimize));
    s.sync();
}

std::optional<std::string> SettingsStore::value(std::string_view section,
                                                std::string_view key) const {
    std::lock_guard lock(mutex_);
    if (!settings_) return std::nullopt;
    const QVariant v = settings_->value(keyPath(section, key));
    if (!v.isValid()) return std::nullopt;
    return v.toString().toStdString();
}

void SettingsStore::setValue(std::string_view section, std::string_view key,
                             std::string_view value) {
    std::lock_guard lock(mutex_);
    if (!settings_) return;
    settings_->setValue(keyPath(section, key), qstr(value));
    settings_->sync();
}

SettingsStore& iniMgr() {
    static SettingsStore store;
    return store;
}

std::filesystem::path defaultSettingsPath() {
    std::filesystem::path base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) {
        base = xdg;
    } else {
        base = QDir::homePath().toStdString();
        base /= ".config";
    }
    return base / "pordex" / "pordex.INI";
}

}  // namespace pordex::ui
