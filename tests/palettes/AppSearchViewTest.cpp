// The application search's view under the offscreen platform.
#include <QApplication>
#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>

#include "QtKeys.h"
#include "core/palettes/AppSearchState.h"
#include "dock/DockTestWorld.h"
#include "sim/SimSystemAppearance.h"
#include "ui/palettes/AppSearchView.h"
#include "ui/palettes/PaletteField.h"
#include "ui/palettes/PaletteSlabView.h"

namespace quillbern {
namespace {

Uuid dockId(int n) {
    return simDock(n, DockEdge::bottom).id;
}

// Every application's icon a small opaque square, drawn from its pixels.
class SquareIcons final : public Icons {
public:
    ImageHandle appIcon(const Path&) const override { return square(); }
    ImageHandle fileIcon(const Path&) const override { return nullptr; }
    ImageHandle runningAppIcon(Pid) const override { return nullptr; }
    ImageHandle genericAppIcon() const override { return square(); }

private:
    static ImageHandle square() {
        auto image = std::make_shared<Image>();
        image->widthPx = image->heightPx = 4;
        image->scale = 1;
        image->pixels = PixelBuffer{4, 4, std::vector<std::uint8_t>(4 * 4 * 4, 255)};
        return image;
    }
};

class AppSearchViewTest : public ::testing::Test {
protected:
    AppSearchViewTest() {
        w.open({simDock(1, DockEdge::bottom), simDock(2, DockEdge::left), simDock(3, DockEdge::right)});
        for (const auto& [id, name] :
             std::vector<std::pair<std::string, std::string>>{{"xterm", "XTerm"}, {"mail", "Mail"}, {"maps", "Maps"}})
            w.world.catalog.install("/apps/" + id + ".app", AppInfo{id, std::nullopt, std::nullopt, name});
        index.refreshSoon();
        w.world.threads.runBackgroundJobs();
        w.world.runUntilIdle();
        state = std::make_shared<AppSearchState>(AppSearchState::Ports{.text = w.world.text, .icons = icons}, index,
                                                 w.pinned());
        AppSearchViewInputs inputs{state, [this](const InstalledApp& app) { opened.push_back(app.appId); },
                                   [](const InstalledApp&) {}};
        view = std::make_unique<AppSearchView>(inputs, system);
        view->show();
        QCoreApplication::processEvents();
    }
    template <class Widget>
    Widget* child(const char* name) {
        return view->findChild<Widget*>(QString::fromLatin1(name));
    }
    bool shows(const char* name) {
        QWidget* widget = child<QWidget>(name);
        return widget && widget->isVisibleTo(view.get());
    }
    void type(const QString& text) {
        view->field()->setFocus();
        for (QChar c : text)
            testing::type(view->windowHandle(), 0, Qt::NoModifier, 0, QString(c));
        QCoreApplication::processEvents();
    }

    testing::DockTestWorld w;
    std::shared_ptr<const InstalledAppsScanner> scanner =
        std::make_shared<const InstalledAppsScanner>(w.world.catalog, w.world.text);
    AppSearchIndex index{{.threads = w.world.threads, .scanner = scanner, .mainLoop = w.world.mainLoop}};
    SimSystemAppearance system;
    SquareIcons icons;
    std::shared_ptr<AppSearchState> state;
    std::unique_ptr<AppSearchView> view;
    std::vector<std::string> opened;
};

TEST_F(AppSearchViewTest, TheHintShowsForABlankQueryAndTheClearButtonForAnyText) {
    EXPECT_TRUE(shows("hint"));
    EXPECT_EQ(child<QLabel>("hint")->text(), QString::fromUtf8("Enter opens the app · Ctrl+Enter pins it to a dock"));
    EXPECT_FALSE(shows("clear"));
    EXPECT_EQ(view->sizeHint().width(), 568);

    type(QStringLiteral(" "));
    EXPECT_EQ(state->query(), " ");
    EXPECT_TRUE(shows("hint")) << "blank once trimmed";
    EXPECT_TRUE(shows("clear"));

    const int hintHeight = view->sizeHint().height();
    type(QStringLiteral("ma"));
    EXPECT_FALSE(shows("hint"));
    EXPECT_TRUE(shows("results"));
    EXPECT_EQ(view->findChildren<QWidget*>(QStringLiteral("row")).size(), 2);
    EXPECT_GT(view->sizeHint().height(), hintHeight) << "the rows make it taller";

    child<QToolButton>("clear")->click();
    EXPECT_EQ(state->query(), "");
    EXPECT_EQ(view->field()->text(), QString());
    EXPECT_TRUE(shows("hint"));
}

TEST_F(AppSearchViewTest, NothingMatchingNamesTheQueryAsTyped) {
    type(QStringLiteral(" zz  "));
    EXPECT_TRUE(shows("noMatch"));
    EXPECT_FALSE(shows("results"));
    EXPECT_EQ(child<QLabel>("noMatch")->text(), QString::fromUtf8("No apps match “ zz  ”"));
    // In a panel of the height it asks for, the line stands well clear of the bottom edge.
    view->resize(view->sizeHint());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QLabel& line = *child<QLabel>("noMatch");
    const int textBottom = line.geometry().top() + line.contentsRect().bottom();
    EXPECT_GE(view->height() - textBottom, 16 + kPaletteSlabInset);
    EXPECT_GE(line.contentsRect().height(), line.fontMetrics().height());
}

TEST_F(AppSearchViewTest, TheBadgeNamesTheDocksInTheirOrderAndReturnOpensTheHighlightedRow) {
    w.pinned().pin("mail", "Mail", std::nullopt, dockId(3));
    w.pinned().pin("mail", "Mail", std::nullopt, dockId(1));
    type(QStringLiteral("ma"));
    const QList<QWidget*> badges = view->findChildren<QWidget*>(QStringLiteral("badge"));
    ASSERT_EQ(badges.size(), 1);
    EXPECT_EQ(badges.front()->toolTip(), QStringLiteral("Dock 1, Dock 3"));

    // The highlighted row shows its pin button without the pointer over it.
    const QList<QWidget*> pins = view->findChildren<QWidget*>(QStringLiteral("pinButton"));
    ASSERT_EQ(pins.size(), 2);
    EXPECT_TRUE(pins[0]->isVisibleTo(view.get()));
    EXPECT_FALSE(pins[1]->isVisibleTo(view.get()));

    testing::type(view->windowHandle(), Qt::Key_Down);
    EXPECT_EQ(state->selectedApp()->appId, "maps");
    testing::type(view->windowHandle(), Qt::Key_Return);
    EXPECT_EQ(opened, std::vector<std::string>{"maps"});
}

}  // namespace
}  // namespace quillbern
