#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Result.h"
#include "core/platform/AppCatalog.h"
#include "core/platform/Types.h"

namespace quillbern {

// The pages of the desktop's settings that the program sends the user to.
enum class SystemSettingsPage { windowAccessPrivacy, screenCapturePrivacy, loginItems, filesPrivacy };

// Opens things on the user's behalf.
class Launcher {
public:
    virtual ~Launcher() = default;

    // Starts the application, or brings it forward when it already runs; `done` reports
    // the outcome, possibly later and on another thread. [any]
    virtual void launch(const Path& appPath, bool activate, std::function<void(Result<void>)> done) = 0;
    // Opens the files with that application; failures are not reported.
    virtual void openWith(const std::vector<Path>& files, const Path& appPath) = 0;
    // Opens the item as a document with the default application of its type: a script, a
    // program or an application's entry is handed to an application, never run. False
    // when no application opens it.
    virtual bool open(const Path& path) = 0;
    // A web page (https:), a new message (mailto:) or a location of the desktop's own
    // (trash:///), with the application the desktop handles that scheme with.
    virtual bool openUrl(std::string_view url) = 0;
    // Shows the items selected in the file manager.
    virtual void reveal(const std::vector<Path>& paths) = 0;
    // The application the desktop opens the item's type with; none when it names none.
    virtual std::optional<InstalledApp> defaultAppFor(const Path& path) const = 0;
    // Every application that opens the item's type, in the desktop's order.
    virtual std::vector<InstalledApp> appsFor(const Path& path) const = 0;
    // The nearest page of the running desktop's settings; false where none exists.
    virtual bool openSystemSettings(SystemSettingsPage page) = 0;
    // Whether the running desktop's settings have that page, so a button may lead there.
    virtual bool canOpenSystemSettings(SystemSettingsPage page) const = 0;
};

}  // namespace quillbern
