#include "app/PinnedStoreLaunches.h"

namespace quillbern {

bool PinnedStoreLaunches::isLaunching(const std::string& appId) const {
    return pinned_.launchingBundleIDs().contains(appId);
}

ImageHandle PinnedStoreLaunches::icon(const PinnedApp&) const { return nullptr; }

Subscription PinnedStoreLaunches::onLaunchingChanged(Task task) { return pinned_.launchingChanged.connect(std::move(task)); }

}  // namespace quillbern
