#include "workspace/WorkspaceWorld.h"

#include <sstream>

#include "core/model/StoredProfiles.h"

namespace quillbern::testing {

namespace {

ScreenInfo screen(DisplayId id, RectBL frame, RectBL visible) {
    ScreenInfo info;
    info.id = id;
    info.stableId = std::to_string(id);
    info.frame = frame;
    info.visibleFrame = visible;
    return info;
}

Path appPath(const AppId& id) {
    return "/apps/" + id + ".app";
}

}  // namespace

WorkspaceWorld::WorkspaceWorld() {
    world.screens.setScreens({screen(kLeft, kLeftFrame, kLeftVisible), screen(kRight, kRightFrame, kRightVisible)});
    world.permissions.setWindowAccessTrusted(true);
    world.windows.setReportsEveryChange(true);
    // "mail" and "notes" are pinned and installed; others are only running.
    Profile dock;
    dock.id = Uuid::parse("AAAAAAAA-0000-4000-8000-000000000001").value();
    dock.name = "Main";
    dock.items = {PinnedItem(PinnedApp{"mail", "Mail", std::nullopt}),
                  PinnedItem(PinnedApp{"notes", "Notes", std::nullopt})};
    world.defaults.setData("profiles.v1", StoredProfiles::encode({dock}).value());
    for (const AppId id : {"mail", "notes"}) {
        world.catalog.install(appPath(id), {id, std::nullopt, std::nullopt, id});
        world.files.addDirectory(appPath(id));
    }

    engine = std::make_unique<WindowEngine>(world.enginePorts());
    pinned = std::make_unique<PinnedStore>(world.pinnedPorts());
    preferences = std::make_unique<DockPreferences>(world.defaults, world.clock, world.mainLoop);
    workspace = std::make_unique<WorkspaceController>(WorkspaceController::Ports{.apps = world.apps,
                                                                                 .screens = world.screens,
                                                                                 .alerts = world.alerts,
                                                                                 .clock = world.clock,
                                                                                 .mainLoop = world.mainLoop},
                                                      *engine, *pinned, *preferences);
    snapshots_ = engine->snapshotChanged.connect([this] { workspace->snapshotChanged(engine->snapshot()); });
    engine->onPlaceRequest = [this](const WindowInfo& window, const RectTL& frame) {
        placeRequests.emplace_back(window.id, frame);
    };
    engine->onRaiseRequest = [this](const WindowInfo& window) { raiseRequests.push_back(window.id); };
    engine->start();
    world.runUntilIdle();
}

WorkspaceWorld::~WorkspaceWorld() {
    engine->stop();
    world.runUntilIdle();
}

void WorkspaceWorld::run(Pid pid, const AppId& id) {
    RunningApp app;
    app.pid = pid;
    app.name = id;
    app.appId = id;
    app.appPath = appPath(id);
    world.windows.addApp(pid);
    world.apps.launch(app);
}

void WorkspaceWorld::quit(Pid pid) {
    for (auto it = elements_.begin(); it != elements_.end();) {
        const bool own = std::ranges::any_of(engine->snapshot().windows,
                                             [&](const WindowInfo& w) { return w.id == it->first && w.pid == pid; });
        if (own) {
            world.windows.removeWindow(it->second);
            it = elements_.erase(it);
        } else {
            ++it;
        }
    }
    world.apps.terminate(pid);
}

ElementRef WorkspaceWorld::show(Pid pid, WindowId id, RectTL frame) {
    const ElementRef element =
        world.windows.addWindow(pid, {.id = id, .title = "window " + std::to_string(id), .frame = frame});
    elements_.insert_or_assign(id, element);
    return element;
}

void WorkspaceWorld::close(WindowId id) {
    world.windows.removeWindow(elements_.at(id));
    elements_.erase(id);
}

void WorkspaceWorld::setFullScreen(WindowId id, bool fullScreen) {
    world.windows.set(elements_.at(id), Attribute::fullScreen, fullScreen);
}

void WorkspaceWorld::focus(Pid pid, WindowId id) {
    const ElementRef app = world.windows.appElement(pid);
    world.windows.set(app, Attribute::frontmost, true);
    world.windows.set(app, Attribute::focusedWindow, elements_.at(id));
}

void WorkspaceWorld::settle() {
    // Past the worker's periodic pass, which catches what its change watch let pass.
    world.advance(AXWorker::kPeriodicInterval + 0.5);
}

Moves WorkspaceWorld::moves() {
    const std::vector<SimWindowSystem::Call> calls = world.windows.calls();
    Moves moves;
    std::map<std::uint64_t, std::string> position;
    for (std::size_t i = callsSeen_; i < calls.size(); ++i) {
        const auto element =
            std::ranges::find_if(elements_, [&](const auto& e) { return e.second == calls[i].element; });
        if (element == elements_.end()) continue;
        const std::string id = std::to_string(element->first);
        const std::string& what = calls[i].what;
        if (what.starts_with("position=")) {
            position[calls[i].element.value] = what.substr(9);
        } else if (what.starts_with("size=(")) {
            std::string size = what.substr(6, what.size() - 7);
            size.replace(size.find(", "), 2, "x");
            moves.push_back(id + " at " + position[calls[i].element.value] + " " + size);
        } else if (what == "raise") {
            moves.push_back(id + " raised");
        }
    }
    callsSeen_ = calls.size();
    return moves;
}

std::vector<std::string> WorkspaceWorld::memberIDs() const {
    std::vector<std::string> ids;
    for (const WorkspaceController::Member& member : workspace->members())
        ids.push_back(member.bundleID);
    return ids;
}

}  // namespace quillbern::testing
