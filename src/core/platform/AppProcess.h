#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/platform/Types.h"

namespace quillbern {

// The running system's version, three numbers however many it names ("6.1" is 6.1.0).
struct OsVersion {
    int major = 0;
    int minor = 0;
    int patch = 0;
    bool operator==(const OsVersion&) const = default;
};

// The program's own process.
class AppProcess {
public:
    virtual ~AppProcess() = default;

    virtual Pid pid() const = 0;
    // Our own application's identity, as other applications' are told (the desktop
    // entry's id on Linux).
    virtual AppId appId() const = 0;
    virtual Path executablePath() const = 0;
    // The arguments it was started with, without the program itself.
    virtual std::vector<std::string> arguments() const = 0;
    // The program's version ("2.1") and the number of its build ("57"); none where the
    // build does not name one.
    virtual std::optional<std::string> version() const = 0;
    virtual std::optional<std::string> buildNumber() const = 0;
    // The user's interface languages, most wanted first, as BCP 47 tags with hyphens
    // ("pt-BR", "zh-Hans"); empty when the user named none.
    virtual std::vector<std::string> preferredLanguages() const = 0;
    // The language code of the user's region settings ("pt"); none when they name none.
    virtual std::optional<std::string> regionLanguage() const = 0;
    virtual OsVersion osVersion() const = 0;
    // Leaves the event loop; shutdown follows.
    virtual void quit() = 0;
    // Hands the memory the program freed but its allocator still keeps back to the system.
    virtual void releaseFreeMemory() = 0;
};

}  // namespace quillbern
