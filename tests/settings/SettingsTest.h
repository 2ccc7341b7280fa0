#pragma once

#include <gtest/gtest.h>
#include <vector>

#include "core/model/StoredProfiles.h"
#include "core/settings/SettingsServices.h"
#include "shell/ShellWorld.h"
#include "ui/settings/SettingsPanes.h"

namespace quillbern::testing {

// What every Settings test stands on: the program's shell on the simulation, past the
// walkthrough, and what the Settings window hands out of it. A test sets the world up as it
// needs, then launches it.
class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() { w.world.defaults.set(AppShell::kOnboardedKey, true); }

    // On these docks; without any, on the one a new user has.
    void launch(const std::vector<Profile>& docks = {}) {
        if (!docks.empty()) w.world.defaults.setData("profiles.v1", StoredProfiles::encode(docks).value());
        w.launch();
    }
    SettingsServices services() const { return settingsServicesOf(*w.shell); }
    PinnedStore& pinned() const { return w.shell->pinned(); }
    DockPreferences& preferences() const { return w.shell->dockPreferences(); }
    AppsCardModel::Ports appsCardPorts() const {
        return ProfileDetailPane::appsCardPorts(dockEditorInputs(services()));
    }

    ShellWorld w;
};

}  // namespace quillbern::testing
