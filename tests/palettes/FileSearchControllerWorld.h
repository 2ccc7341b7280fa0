#pragma once

#include <memory>
#include <string>
#include <vector>

#include "FileSearchWorld.h"
#include "core/palettes/FileSearchController.h"
#include "dock/DockTestWorld.h"

namespace quillbern::testing {

inline InstalledApp appNamed(const std::string& name) {
    return {"org.example." + name, name, "/usr/share/applications/org.example." + name + ".desktop"};
}

// The file palette on two displays, over a home with the three user folders, a few files
// and a subfolder, beside docks the test opens; folder reads wait until the test runs them.
struct FileControllerWorld {
    explicit FileControllerWorld(std::vector<Profile> docks = {}) {
        w.open(docks);
        auto& files = w.world.files;
        for (const char* folder : {"Desktop", "Documents", "Downloads"})
            files.addDirectory(std::string("/home/u/") + folder);
        files.setUserDirectory(UserDirectory::desktop, "/home/u/Desktop");
        files.setUserDirectory(UserDirectory::documents, "/home/u/Documents");
        files.setUserDirectory(UserDirectory::downloads, "/home/u/Downloads");
        files.addDirectory("/home/u/Documents/Projects");
        files.addFile("/home/u/Documents/letter.txt", day(3));
        files.addFile("/home/u/Documents/notes.txt", day(2));
        files.addDirectory("/home/u/Documents/Empty");
        w.world.paletteViews.setFittingSize({568, 300});
        w.world.input.setPointer({300, 300});
    }

    FileSearchController& palette() {
        if (!palette_) {
            palette_ = std::make_unique<FileSearchController>(
                FileSearchController::Ports{
                    .palette = w.world.palettePorts(),
                    .threads = w.world.threads,
                    .files = w.world.files,
                    .text = w.world.text,
                    .icons = w.world.icons,
                    .launcher = w.world.launcher,
                    .menus = w.world.menus,
                    .layout = w.world.keyboardLayout,
                    .apps = w.world.apps,
                    .alerts = w.world.alerts,
                    .clock = w.world.clock,
                    .folderAccessPrompt = prompt,
                },
                w.pinned());
        }
        return *palette_;
    }
    FileSearchState& state() { return *palette().state(); }
    // The panel shown, else the last one, which is closed.
    std::uint64_t serial() {
        if (const Panel* shown = palette().panel()) lastSerial = shown->serial();
        return lastSerial;
    }
    const SimPanelState& panel() { return *w.world.panels.panel(serial()); }
    SimPaletteView& view() { return *w.world.paletteViews.lastBuilt(); }

    SimSerialQueue* io() const { return w.world.threads.queue(FileSearchEngine::kQueueLabel); }
    // Runs every folder read waiting and delivers what it brings.
    void settle() {
        w.world.runUntilIdle();
        while (io() && io()->runNext())
            w.world.runUntilIdle();
    }
    // Enters the folder of the level shown by that name and lets it load.
    void enter(std::string_view name) {
        const auto& level = *state().levelEntries();
        const auto found = std::ranges::find(level, name, &FileEntry::name);
        ASSERT_NE(found, level.end()) << name;
        state().enter(*found);
        settle();
    }
    void select(std::string_view name) {
        while (state().selectedEntry() && state().selectedEntry()->name != name) {
            const auto before = state().selectedID();
            state().move(+1);
            ASSERT_NE(before, state().selectedID()) << name << " is not shown";
        }
    }
    bool key(KeyCode code, EventFlags flags = 0) { return w.world.panels.pressKey(serial(), {code, flags}); }
    bool command(KeyCode code, EventFlags flags = 0) {
        return w.world.panels.pressKeyEquivalent(serial(), {code, kCommandFlag | flags});
    }
    void clickInOtherApplication() { w.world.events.injectGlobalMouseDown({{10, 10}, kLeftButton, 0, std::nullopt}); }

    DockTestWorld w;
    std::optional<AppId> prompt;
    std::unique_ptr<FileSearchController> palette_;
    std::uint64_t lastSerial = 0;
};

}  // namespace quillbern::testing
