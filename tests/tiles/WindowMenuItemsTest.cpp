#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/tiles/WindowMenuItems.h"
#include "tiles/TilesWorld.h"

namespace quillbern {
namespace {

using testing::kLeft;
using testing::minimized;
using testing::window;

std::vector<std::string> rows(const std::vector<MenuItem>& items) {
    std::vector<std::string> result;
    for (const MenuItem& item : items)
        result.push_back(item.isSeparator ? "--" : item.title + (item.symbol.empty() ? "" : " [" + item.symbol + "]"));
    return result;
}

class WindowRows : public ::testing::Test {
protected:
    WindowRows() {
        w.open({});
        w.engine->onRaiseRequest = [this](const WindowInfo& window) { events.push_back("raise " + window.title); };
    }
    std::vector<MenuItem> items(const std::vector<WindowInfo>& windows) {
        return windowMenuItems(windows, *w.engine,
                               [this](const WindowInfo& window) { events.push_back("onRaise " + window.title); });
    }

    testing::TilesWorld w;
    std::vector<std::string> events;
};

TEST_F(WindowRows, ShownWindowsFirstThenTheMinimisedOnesBesideTheirSymbol) {
    const auto listed =
        items({window(1, 10, "Mail", kLeft), minimized(window(2, 10, "Mail", kLeft)), window(3, 10, "Mail", kLeft)});
    EXPECT_EQ(rows(listed), (std::vector<std::string>{"Mail 1", "Mail 3", "--", "Mail 2 [arrow.down.forward.square]"}));
    EXPECT_EQ(rows(items({minimized(window(4, 10, "Mail", kLeft))})),
              (std::vector<std::string>{"--", "Mail 4 [arrow.down.forward.square]"}))
        << "all minimised: the separator comes first";
    WindowInfo untitled = window(5, 10, "Mail", kLeft);
    untitled.title.clear();
    EXPECT_EQ(rows(items({untitled})), std::vector<std::string>{"Mail"}) << "named after its application";
    EXPECT_TRUE(items({}).empty());
}

TEST_F(WindowRows, ALongTitleKeepsItsStartAndEndSoTheMenuStaysNarrow) {
    WindowInfo report = window(1, 10, "Writer", kLeft);
    report.title = "Quarterly report " + std::string(100, 'x') + " — ~/Documents — Writer";
    EXPECT_EQ(items({report})[0].title,
              "Quarterly report " + std::string(13, 'x') + "…" + std::string(6, 'x') + " — ~/Documents — Writer");
}

TEST_F(WindowRows, ChoosingARowDismissesThePreviewBeforeTheRaise) {
    const auto listed = items({window(1, 10, "Mail", kLeft)});
    listed[0].action();
    EXPECT_EQ(events, (std::vector<std::string>{"onRaise Mail 1", "raise Mail 1"}))
        << "without a window worker the hooks still run";
}

TEST_F(WindowRows, MenusDropSeparatorsThatSeparateNothing) {
    MenuModel menu;
    menu.addSeparator();
    menu.append(items({minimized(window(4, 10, "Mail", kLeft))}));
    menu.addSeparator();
    menu.addSeparator();
    menu.add("Remove from dock", [] {});
    menu.addSeparator();
    std::vector<std::string> shown;
    for (const MenuItem& item : menu.items())
        shown.push_back(item.isSeparator ? "--" : item.title);
    EXPECT_EQ(shown, (std::vector<std::string>{"Mail 4", "--", "Remove from dock"}));
}

}  // namespace
}  // namespace quillbern
