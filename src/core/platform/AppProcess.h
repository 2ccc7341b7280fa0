#pragma once

#include <string>
#include <vector>

#include "core/platform/Types.h"

namespace quillbern {

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
    // Leaves the event loop; shutdown follows.
    virtual void quit() = 0;
};

}  // namespace quillbern
