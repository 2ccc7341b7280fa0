#include "core/settings/MakerAddresses.h"

#include "config/BuildConfig.h"
#include "core/foundation/Localization.h"

namespace quillbern {
namespace {

std::optional<WebLink> link(std::string_view address, std::string label, std::string symbol) {
    std::optional<WebAddress> parsed = WebAddress::parse(address);
    if (!parsed) return std::nullopt;
    if (label.empty()) label = parsed->host();
    // A site is a web address; a name-less one would show an empty link.
    if (label.empty()) return std::nullopt;
    return WebLink{std::move(label), std::move(symbol), std::move(*parsed)};
}

}  // namespace

MakerAddresses MakerAddresses::ofThisBuild() {
    return {
        .supportPage = std::string(build::kSupportPage),
        .webSite = std::string(build::kWebSite),
        .privacyPage = std::string(build::kPrivacyPage),
        .authorName = std::string(build::kAuthorName),
        .authorSite = std::string(build::kAuthorSite),
        .supportEmail = std::string(build::kSupportEmail),
    };
}

std::optional<WebLink> MakerAddresses::webSiteLink() const {
    return link(webSite, {}, "globe");
}

std::optional<WebLink> MakerAddresses::supportMailLink() const {
    if (supportEmail.empty()) return std::nullopt;
    return link("mailto:" + supportEmail, supportEmail, "envelope");
}

std::optional<WebLink> MakerAddresses::authorSiteLink() const {
    std::optional<WebLink> made = link(authorSite, {}, "person.crop.circle");
    if (made && !authorName.empty()) made->label = authorName + " — " + made->label;
    return made;
}

std::optional<WebLink> MakerAddresses::privacyPolicyLink() const {
    return link(privacyPage, tr("Privacy policy"), "hand.raised");
}

}  // namespace quillbern
