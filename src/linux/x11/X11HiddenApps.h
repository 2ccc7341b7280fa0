#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core/platform/Types.h"

namespace quillbern {

// A window our hiding minimised, and the process that owned it then.
struct HiddenWindow {
    Pid pid = 0;
    std::uint32_t window = 0;
    bool operator==(const HiddenWindow&) const = default;
};

// What our own hiding did: the windows each application's hiding minimised, kept until the
// application is shown again or ends. X11 has no hidden applications, so this record is
// what makes one: the running applications hide and show through it, and window access
// answers from it whether an application is hidden and shows it again. An application may
// run as several processes (each xterm window is one): what the hiding of any of them
// minimised is the application's, so showing one of them shows it whole. Any thread.
class X11HiddenApps {
public:
    // Adds windows of the process to what the hiding of its application (applicationKey)
    // minimised, each once.
    void remember(Pid pid, const std::string& application, const std::vector<std::uint32_t>& windows);
    // What the hiding of the process's application minimised, whichever process owned it.
    std::vector<HiddenWindow> windows(Pid pid) const;
    // The same, forgotten from now on.
    std::vector<HiddenWindow> take(Pid pid);
    // The process ended: its windows are forgotten.
    void forget(Pid pid);

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::vector<HiddenWindow>> windows_;
    // The application each process with remembered windows counts for.
    std::map<Pid, std::string> applications_;
};

}  // namespace quillbern
