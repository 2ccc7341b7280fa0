#pragma once

#include <filesystem>

#include "core/platform/LoginService.h"
#include "core/platform/Types.h"

namespace quillbern {

// Opening at login through the user's XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/quillbern.desktop. An entry that is there counts as enabled
// unless the desktop switched it off (Hidden=true, or GNOME's X-GNOME-Autostart-enabled=false),
// and as not found when the program it starts (or its TryExec) cannot be found, as after the
// program moved. The entry is read only when it is a regular file. Nothing waits for an
// approval here. Errors are in the "posix" domain with errno as code.
class LinuxLoginService final : public LoginService {
public:
    // The entry starts `program`; its place is taken from the environment now.
    explicit LinuxLoginService(Path program);

    const std::filesystem::path& entry() const { return entry_; }

    LoginStatus status() const override;
    // Replaces whatever entry is there, atomically; a symbolic link there is replaced too,
    // never written through.
    Result<void> registerApp() override;
    // An entry that is not there is no error; a link there is removed, not what it points to.
    Result<void> unregisterApp() override;

    // The value of an Exec key that runs `program` without arguments, quoted and escaped
    // as desktop entries require.
    static std::string execValue(const Path& program);

private:
    std::filesystem::path entry_;
    Path program_;
};

}  // namespace quillbern
