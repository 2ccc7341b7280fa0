#pragma once

#include "core/dock/LaunchingApps.h"
#include "core/model/PinnedStore.h"

namespace quillbern {

// The launch beacon's view of the applications the dock store is launching.
class PinnedStoreLaunches final : public LaunchingApps {
public:
    explicit PinnedStoreLaunches(PinnedStore& pinned) : pinned_(pinned) {}

    bool isLaunching(const std::string& appId) const override;
    ImageHandle icon(const PinnedApp& app) const override;
    Subscription onLaunchingChanged(Task task) override;

private:
    PinnedStore& pinned_;
};

}  // namespace quillbern
