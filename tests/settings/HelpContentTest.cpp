#include <gtest/gtest.h>

#include "core/settings/HelpContent.h"

namespace quillbern {
namespace {

TEST(HelpContent, ThirteenFeatureCardsInOrderThenTheWalkthrough) {
    const std::vector<HelpCard> cards = HelpContent::featureCards();
    std::vector<std::string> titles;
    std::vector<std::string> symbols;
    for (const HelpCard& card : cards) {
        titles.push_back(card.title);
        symbols.push_back(card.symbol);
        EXPECT_FALSE(card.text.empty()) << card.title;
        // Chords read as Linux desktops write them.
        for (const char* glyph : {"⌃", "⌥", "⇧", "⌘", "↩", "⌫"})
            EXPECT_EQ(card.text.find(glyph), std::string::npos) << card.title;
        for (const char* elsewhere : {"macOS", "Finder", "Mac", "Command", "Sparkle", "System Settings"})
            EXPECT_EQ(card.text.find(elsewhere), std::string::npos) << card.title << ": " << elsewhere;
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Docks", "Auto-hide", "Pinning", "All open apps — Ctrl+Super+A",
                                                "Search apps — Ctrl+Super+S", "Open a file — Ctrl+Super+O",
                                                "Focus mode — Ctrl+Super+V", "Workspace — Ctrl+Super+W",
                                                "Every shortcut — Ctrl+Super+K", "Peek at every dock — Ctrl+Super+P",
                                                "Hover previews", "Automation", "Permissions"}));
    EXPECT_EQ(symbols,
              (std::vector<std::string>{"square.stack.3d.up", "eye.slash", "pin", "rectangle.split.3x1",
                                        "magnifyingglass", "folder", "circle.dashed.inset.filled", "rectangle.grid.2x2",
                                        "keyboard", "eye", "eye", "link", "lock.shield"}));
    EXPECT_NE(cards[11].text.find("quillbern://overview/toggle"), std::string::npos);
    EXPECT_NE(cards[12].text.find("no network"), std::string::npos);

    EXPECT_EQ(HelpContent::walkthroughCard().title, "Walkthrough");
    EXPECT_EQ(HelpContent::walkthroughCard().symbol, "sparkles");
}

}  // namespace
}  // namespace quillbern
