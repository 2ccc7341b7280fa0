#include "core/settings/SupportPaneModel.h"

#include "core/foundation/Localization.h"
#include "core/settings/VersionText.h"

namespace quillbern {

SupportPaneModel::SupportPaneModel(Ports ports, MakerAddresses addresses)
    : ports_(ports), addresses_(std::move(addresses)) {
    trustChanged_ = ports_.engine.trustChanged.connect([this] { diagnosticsChanged.emit(); });
    grantChanged_ = ports_.previews.grantChanged.connect([this] { diagnosticsChanged.emit(); });
    screensChanged_ = ports_.screens.onChanged([this] { diagnosticsChanged.emit(); });
}

std::string SupportPaneModel::version() const {
    return versionText(ports_.process, "?");
}

std::string SupportPaneModel::language() const {
    const std::vector<std::string> preferred = ports_.process.preferredLanguages();
    std::string language;
    if (!preferred.empty()) {
        language = preferred.front();
    } else {
        language = ports_.process.regionLanguage().value_or("en");
    }
    return language.substr(0, language.find('-'));
}

std::optional<WebAddress> SupportPaneModel::supportUrl() const {
    const std::optional<WebAddress> page = WebAddress::parse(addresses_.supportPage);
    if (!page || page->host().empty()) return std::nullopt;
    return page->withQuery({{"lang", language()}, {"v", version()}});
}

bool SupportPaneModel::openSupport() {
    const std::optional<WebAddress> url = supportUrl();
    return url && ports_.launcher.openUrl(url->text());
}

bool SupportPaneModel::open(const WebLink& link) {
    return ports_.launcher.openUrl(link.address.text());
}

std::string SupportPaneModel::diagnostics() const {
    const OsVersion os = ports_.process.osVersion();
    std::string text = "Quillbern " + version();
    text += "\nLinux " + std::to_string(os.major) + "." + std::to_string(os.minor) + "." + std::to_string(os.patch);
    const auto displays = static_cast<long long>(ports_.screens.screens().size());
    // TRANSLATORS: a line of the diagnostics a user pastes into a support request.
    text += "\n" + trn("Displays: %lld", "Displays: %lld", displays, displays);
    text += "\n" + (ports_.engine.isTrusted() ? tr("Window access: granted") : tr("Window access: not granted"));
    text += "\n" + (ports_.previews.isGranted() ? tr("Window pictures: granted") : tr("Window pictures: not granted"));
    return text;
}

void SupportPaneModel::copy() {
    ports_.clipboard.setText(diagnostics());
    setCopied(true);
    ports_.mainLoop.after(kCopiedFor, lifetime_.guard([this] { setCopied(false); })).detach();
}

void SupportPaneModel::setCopied(bool copied) {
    if (copied_ == copied) return;
    copied_ = copied;
    copiedChanged.emit();
}

}  // namespace quillbern
