#include <algorithm>
#include <iterator>

#include "core/model/PinnedStore.h"

namespace quillbern {

void PinnedStore::watchRunningApps() {
    const auto changed = [this] {
        invalidateAppLookups();
        refreshRunning();
    };
    appWatches_.push_back(apps_.onAppsChanged(onLoop(mainLoop_, lifetime_.token(), changed)));
    appWatches_.push_back(apps_.onLaunch(lifetime_.guard([changed](const RunningApp&) { changed(); })));
    appWatches_.push_back(apps_.onTerminate(lifetime_.guard([changed](const RunningApp&) { changed(); })));
    appWatches_.push_back(apps_.onActivate(lifetime_.guard([this](const RunningApp& app) { noteActivation(app); })));
    // An application installed meanwhile may have brought the icon its entry names.
    appWatches_.push_back(iconSource_.onChanged(lifetime_.guard([this] {
        icons_.clear();
        runningIcons_.clear();
        iconsChanged.emit();
    })));
}

void PinnedStore::refreshRunning() {
    expectOnLoop(mainLoop_);
    const std::vector<RunningApp> running = apps_.runningApps();
    std::set<AppId> bundleIDs;
    for (const RunningApp& app : running) {
        if (app.appId) bundleIDs.insert(*app.appId);
    }
    std::set<AppId> launching = launchingBundleIDs_;
    std::erase_if(launching, [&bundleIDs](const AppId& id) { return bundleIDs.contains(id); });

    std::map<Pid, AppId> owners;
    std::set<Pid> regular;
    // Only the paths of running processes stay cached, so the cache ends with them.
    std::map<Path, std::optional<AppId>> outermostCache;
    for (const RunningApp& app : running) {
        if (app.policy == ActivationPolicy::regular) regular.insert(app.pid);
        std::optional<AppId> outermost;
        if (app.appPath) {
            auto entry = outermostCache.find(*app.appPath);
            if (entry == outermostCache.end()) {
                auto kept = outermostCache_.extract(*app.appPath);
                entry = kept.empty() ? outermostCache.emplace(*app.appPath, catalog_.owningAppId(app)).first
                                     : outermostCache.insert(std::move(kept)).position;
            }
            outermost = entry->second;
        }
        if (auto owner = outermost ? outermost : app.appId) owners.emplace(app.pid, std::move(*owner));
    }
    outermostCache_ = std::move(outermostCache);
    // An icon goes with its process.
    std::erase_if(runningIcons_, [&running](const auto& kept) {
        return std::ranges::none_of(running, [&kept](const RunningApp& app) { return app.pid == kept.first; });
    });

    const bool isChange = bundleIDs != runningBundleIDs_ || owners != ownerBundleIDByPID_ || regular != regularPIDs_;
    runningBundleIDs_ = std::move(bundleIDs);
    ownerBundleIDByPID_ = std::move(owners);
    regularPIDs_ = std::move(regular);
    setLaunching(std::move(launching));
    if (isChange) runningChanged.emit();
}

void PinnedStore::setLaunching(std::set<AppId> launching) {
    launchingBundleIDs_ = std::move(launching);
    launchingChanged.emit();
}

void PinnedStore::invalidateAppLookups() {
    resolvedPaths_.clear();
    icons_.clear();
    // A process keeps its own picture while it runs; the generic stand-in is asked again,
    // since the picture of a window may have come meanwhile.
    std::erase_if(runningIcons_, [](const auto& kept) { return !kept.second.isOwn; });
}

void PinnedStore::noteActivation(const RunningApp& app) {
    expectOnLoop(mainLoop_);
    const auto owner = ownerBundleIDByPID_.find(app.pid);
    const std::optional<AppId> id = owner != ownerBundleIDByPID_.end() ? std::optional(owner->second) : app.appId;
    if (!id || (!activationOrder_.empty() && activationOrder_.front() == *id)) return;
    std::erase(activationOrder_, *id);
    activationOrder_.insert(activationOrder_.begin(), *id);
    if (activationOrder_.size() > kMaxActivationOrder) activationOrder_.pop_back();
    activationOrderChanged.emit();
}

std::set<Pid> PinnedStore::pids(std::string_view bundleID) const {
    std::set<Pid> owned;
    for (const auto& [pid, owner] : ownerBundleIDByPID_) {
        if (owner == bundleID) owned.insert(pid);
    }
    return owned;
}

bool PinnedStore::hasRegularProcess(std::string_view bundleID) const {
    return std::ranges::any_of(pids(bundleID), [this](Pid pid) { return regularPIDs_.contains(pid); });
}

std::optional<RunningApp> PinnedStore::runningApp(Pid pid) const {
    return apps_.app(pid);
}

std::optional<Path> PinnedStore::appPath(const std::string& bundleID, const std::optional<std::string>& fallbackPath) {
    expectOnLoop(mainLoop_);
    if (const auto resolved = resolvedPaths_.find(bundleID); resolved != resolvedPaths_.end()) return resolved->second;
    auto found = catalog_.pathForAppId(bundleID);
    if (!found && fallbackPath && files_.exists(*fallbackPath)) found = fallbackPath;
    if (found) resolvedPaths_.insert_or_assign(bundleID, *found);
    return found;
}

ImageHandle PinnedStore::icon(const PinnedApp& app) {
    if (const auto cached = icons_.find(app.bundleID); cached != icons_.end()) return cached->second;
    const auto path = appPath(app.bundleID, app.fallbackPath);
    if (!path) return nullptr;
    ImageHandle image = iconSource_.appIcon(*path);
    // Processes of ordinary applications first: their windows carry the application's picture.
    std::vector<Pid> owned;
    std::ranges::copy(pids(app.bundleID), std::back_inserter(owned));
    std::stable_partition(owned.begin(), owned.end(), [this](Pid pid) { return regularPIDs_.contains(pid); });
    for (auto pid = owned.begin(); !image && pid != owned.end(); ++pid)
        image = iconSource_.runningAppIcon(*pid);
    if (!image) image = iconSource_.genericAppIcon();
    icons_.insert_or_assign(app.bundleID, image);
    return image;
}

ImageHandle PinnedStore::icon(const RunningApp& app) {
    if (const auto cached = runningIcons_.find(app.pid);
        cached != runningIcons_.end() && cached->second.appPath == app.appPath)
        return cached->second.image;
    ImageHandle image = app.appPath ? iconSource_.appIcon(*app.appPath) : nullptr;
    if (!image) image = iconSource_.runningAppIcon(app.pid);
    const bool isOwn = image != nullptr;
    if (!image) image = iconSource_.genericAppIcon();
    runningIcons_.insert_or_assign(app.pid, RunningIcon{app.appPath, image, isOwn});
    return image;
}

void PinnedStore::launchOrActivate(const std::string& bundleID, const std::optional<std::string>& fallbackPath) {
    const auto path = appPath(bundleID, fallbackPath);
    if (!path || !files_.exists(*path)) {
        resolvedPaths_.erase(bundleID);
        icons_.erase(bundleID);
        alerts_.beep();
        return;
    }
    const std::uint64_t generation = ++launchGeneration_[bundleID];
    if (!runningBundleIDs_.contains(bundleID)) {
        std::set<AppId> launching = launchingBundleIDs_;
        launching.insert(bundleID);
        setLaunching(std::move(launching));
        mainLoop_
            .after(kLaunchExpiry, lifetime_.guard([this, bundleID, generation] {
                if (launchGeneration_[bundleID] != generation || !launchingBundleIDs_.contains(bundleID)) return;
                std::set<AppId> launching = launchingBundleIDs_;
                launching.erase(bundleID);
                setLaunching(std::move(launching));
            }))
            .detach();
    }
    const auto frontmost = apps_.frontmostApp();
    const std::optional<AppId> previousFrontmost = frontmost ? frontmost->appId : std::nullopt;
    // The report may come late and on another thread; it is handled on the main loop.
    launcher_.launch(
        *path, true,
        onLoop(mainLoop_, lifetime_.token(), [this, bundleID, generation, previousFrontmost](Result<void> r) {
            const bool failed = !r.ok();
            mainLoop_
                .after(kActivationCheckDelay,
                       lifetime_.guard([=, this] { launchCompleted(bundleID, generation, previousFrontmost, failed); }))
                .detach();
        }));
}

void PinnedStore::launchCompleted(const std::string& bundleID, std::uint64_t generation,
                                  const std::optional<AppId>& previousFrontmost, bool failed) {
    if (failed && launchGeneration_[bundleID] == generation) {
        resolvedPaths_.erase(bundleID);
        icons_.erase(bundleID);
        if (launchingBundleIDs_.contains(bundleID)) {
            std::set<AppId> launching = launchingBundleIDs_;
            launching.erase(bundleID);
            setLaunching(std::move(launching));
        }
    }
    const auto frontmost = apps_.frontmostApp();
    const std::optional<AppId> currentFrontmost = frontmost ? frontmost->appId : std::nullopt;
    // Focus is never taken back from an application the user chose meanwhile.
    if (currentFrontmost != bundleID && currentFrontmost != previousFrontmost) return;
    if (!failed && currentFrontmost == bundleID) return;
    const auto running = apps_.runningApps();
    const auto launched = std::ranges::find(running, std::optional<AppId>(bundleID), &RunningApp::appId);
    if (launched != running.end()) apps_.activate(launched->pid);
}

void PinnedStore::open(const std::vector<Path>& files, const PinnedApp& app) {
    const auto path = appPath(app.bundleID, app.fallbackPath);
    if (!path || files.empty()) return;
    launcher_.openWith(files, *path);
}

}  // namespace quillbern
