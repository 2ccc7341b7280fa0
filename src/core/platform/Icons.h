#pragma once

#include "core/foundation/RunLoop.h"
#include "core/foundation/Subscription.h"
#include "core/platform/Types.h"

namespace quillbern {

// Pictures of applications and files, as the desktop shows them.
class Icons {
public:
    virtual ~Icons() = default;

    // The icon the application's entry at `appPath` names; null when it names none that
    // can be found.
    virtual ImageHandle appIcon(const Path& appPath) const = 0;
    // The icon of the file or folder at `path`, by its type; null when there is none.
    virtual ImageHandle fileIcon(const Path& path) const = 0;
    // The picture a window of the running process carries; null when it has none.
    virtual ImageHandle runningAppIcon(Pid pid) const = 0;
    // What stands for an application that shows no picture of its own.
    virtual ImageHandle genericAppIcon() const = 0;
    // Tells when what appIcon answers may have changed: an application or its icon was
    // installed or removed while the program runs. Main thread. Icons that stay tell nothing.
    [[nodiscard]] virtual Subscription onChanged(Task) const { return {}; }
};

}  // namespace quillbern
