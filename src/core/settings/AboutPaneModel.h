#pragma once

#include <string>
#include <vector>

#include "core/platform/AppProcess.h"
#include "core/platform/Launcher.h"
#include "core/settings/MakerAddresses.h"
#include "core/shell/UpdaterController.h"

namespace quillbern {

// What the About pane shows and does: who the program is, the update check where an
// updater exists, and the maker's links. Read afresh at each use. Main thread.
class AboutPaneModel {
public:
    AboutPaneModel(const AppProcess& process, UpdaterController& updater, Launcher& launcher, MakerAddresses addresses);

    static std::string productName() { return "Quillbern"; }
    // "2.1 (57)", "—" for what the build does not name.
    std::string versionLine() const;
    static std::string description();

    bool canCheckForUpdates() const;
    // Does nothing without an updater.
    void checkForUpdates();
    static std::string updatesCaption();

    // The web site, the support address, the author's site and the privacy policy, each
    // only where its address is one.
    std::vector<WebLink> links() const;
    bool open(const WebLink& link);
    static std::string privacyCaption();

private:
    const AppProcess& process_;
    UpdaterController& updater_;
    Launcher& launcher_;
    MakerAddresses addresses_;
};

}  // namespace quillbern
