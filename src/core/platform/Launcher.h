#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Result.h"
#include "core/platform/Types.h"

namespace quillbern {

// The pages of the desktop's settings that the program sends the user to.
enum class SettingsPage { windowAccessPrivacy, screenCapturePrivacy, loginItems };

// Opens things on the user's behalf.
class Launcher {
public:
    virtual ~Launcher() = default;

    // Starts the application, or brings it forward when it already runs; `done` reports
    // the outcome, possibly later and on another thread. [any]
    virtual void launch(const Path& appPath, bool activate, std::function<void(Result<void>)> done) = 0;
    // Opens the files with that application; failures are not reported.
    virtual void openWith(const std::vector<Path>& files, const Path& appPath) = 0;
    // With the default application of its type; never runs the file itself. False when
    // nothing opens it.
    virtual bool open(const Path& path) = 0;
    // A location of the desktop's own (trash:///), with the application that handles it.
    virtual bool openUrl(std::string_view url) = 0;
    // Shows the items selected in the file manager.
    virtual void reveal(const std::vector<Path>& paths) = 0;
    // The nearest page of the running desktop's settings; false where none exists.
    virtual bool openSystemSettings(SettingsPage page) = 0;
};

}  // namespace quillbern
