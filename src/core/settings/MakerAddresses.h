#pragma once

#include <optional>
#include <string>

#include "core/foundation/WebAddress.h"

namespace quillbern {

// A link Settings shows: its label, its symbol, and the address it opens.
struct WebLink {
    std::string label;
    std::string symbol;
    WebAddress address;
};

// Where the maker can be found. Empty, or not an address, leaves out what would show it.
struct MakerAddresses {
    std::string supportPage;  // https, path "/support"
    std::string webSite;
    std::string privacyPage;  // the web site's "/legal/privacy"
    std::string authorName;
    std::string authorSite;
    std::string supportEmail;

    // The addresses this build was configured with.
    static MakerAddresses ofThisBuild();

    // Labelled with the site's host.
    std::optional<WebLink> webSiteLink() const;
    // A new message to the support address, labelled with the address itself.
    std::optional<WebLink> supportMailLink() const;
    // Labelled with the author's name and the site's host.
    std::optional<WebLink> authorSiteLink() const;
    std::optional<WebLink> privacyPolicyLink() const;
};

}  // namespace quillbern
