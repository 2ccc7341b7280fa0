#pragma once

#include <map>
#include <string>

#include "core/platform/NativeDockPreferences.h"

using GSettings = struct _GSettings;

namespace quillbern {

// The GNOME dock extension's settings (Dash to Dock, and Ubuntu Dock, which shares its
// schema) through GSettings, where the schema is installed:
//   "autohide"               = not "dock-fixed" (the dock hides instead of always showing)
//   "autohide-delay"         = "show-delay" (seconds at the edge before it shows)
//   "autohide-time-modifier" = "animation-time" (seconds its slide takes)
// A key the user never set reads as absent, and writing absent resets it to the
// extension's default. Writes wait for synchronize(), which applies all of them or none.
// The extension follows its settings live, so restarting does nothing. Main thread.
class LinuxNativeDockPreferences final : public NativeDockPreferences {
public:
    static constexpr const char* kDockSchema = "org.gnome.shell.extensions.dash-to-dock";

    explicit LinuxNativeDockPreferences(const char* schemaId = kDockSchema);
    ~LinuxNativeDockPreferences() override;
    LinuxNativeDockPreferences(const LinuxNativeDockPreferences&) = delete;
    LinuxNativeDockPreferences& operator=(const LinuxNativeDockPreferences&) = delete;

    // The schema is installed with the three keys.
    bool isSupported() const override { return settings_ != nullptr; }
    std::optional<Json> value(std::string_view key) const override;
    void setValue(std::string_view key, std::optional<Json> value) override;
    // False, applying nothing, when a key is locked or a value has the wrong type.
    bool synchronize() override;
    ProcessResult restartDock(Duration timeLimit) override;

private:
    std::optional<Json> storedValue(std::string_view key) const;

    GSettings* settings_ = nullptr;
    std::map<std::string, std::optional<Json>, std::less<>> pending_;
};

}  // namespace quillbern
