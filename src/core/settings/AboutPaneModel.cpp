#include "core/settings/AboutPaneModel.h"

#include "core/foundation/Localization.h"
#include "core/settings/VersionText.h"

namespace quillbern {

AboutPaneModel::AboutPaneModel(const AppProcess& process, UpdaterController& updater, Launcher& launcher,
                               MakerAddresses addresses)
    : process_(process), updater_(updater), launcher_(launcher), addresses_(std::move(addresses)) {}

std::string AboutPaneModel::versionLine() const {
    return versionText(process_, "—");
}

std::string AboutPaneModel::description() {
    return tr(
        "Docks of their own for every display of your Linux desktop, a drop-to-tile workspace, a keyboard "
        "switcher and a focus veil.");
}

bool AboutPaneModel::canCheckForUpdates() const {
    return updater_.hasUpdater() && updater_.canCheckForUpdates();
}

void AboutPaneModel::checkForUpdates() {
    if (updater_.hasUpdater()) updater_.checkForUpdates();
}

std::string AboutPaneModel::updatesCaption() {
    return tr(
        "Quillbern does not update itself: new versions come with your system's other updates, through its "
        "package manager.");
}

std::vector<WebLink> AboutPaneModel::links() const {
    std::vector<WebLink> links;
    for (std::optional<WebLink> link : {addresses_.webSiteLink(), addresses_.supportMailLink(),
                                        addresses_.authorSiteLink(), addresses_.privacyPolicyLink()}) {
        if (link) links.push_back(std::move(*link));
    }
    return links;
}

bool AboutPaneModel::open(const WebLink& link) {
    return launcher_.openUrl(link.address.text());
}

std::string AboutPaneModel::privacyCaption() {
    return tr("Quillbern works entirely on your computer and sends nothing anywhere: it uses no network at all.");
}

}  // namespace quillbern
