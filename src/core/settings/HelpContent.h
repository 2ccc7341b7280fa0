#pragma once

#include <string>
#include <vector>

namespace quillbern {

// One card of the Help page: a titled paragraph with its symbol.
struct HelpCard {
    std::string title;
    std::string symbol;
    std::string text;
};

// The Help page's fixed content: a card per feature, then the card that reopens the
// walkthrough. Texts are translated when asked for.
class HelpContent {
public:
    // The feature cards, in the order the page shows them.
    static std::vector<HelpCard> featureCards();
    static HelpCard walkthroughCard();
    static std::string walkthroughButtonTitle();
};

}  // namespace quillbern
