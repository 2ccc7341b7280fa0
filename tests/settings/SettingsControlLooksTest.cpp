#include <gtest/gtest.h>

#include "core/settings/SettingsControlLooks.h"

namespace quillbern {
namespace {

TEST(SettingsControlLooks, APageIsACentredColumnAtMost680Wide) {
    EXPECT_EQ(pageColumn(1000), (PageColumn{160, 680}));
    EXPECT_EQ(pageColumn(1000).width - 2 * kPagePadding, 644);
    EXPECT_EQ(pageColumn(500), (PageColumn{0, 500}));
    EXPECT_EQ(pageColumn(680), (PageColumn{0, 680}));
}

TEST(SettingsControlLooks, AListBarButtonIsRedOnlyWhenDestructiveHoveredAndEnabled) {
    EXPECT_EQ(listBarButtonLook(true, true, true), (ListBarButtonLook{SettingsTone::destructive, 0.08}));
    EXPECT_EQ(listBarButtonLook(false, true, true), (ListBarButtonLook{SettingsTone::primary, 0.08}));
    EXPECT_EQ(listBarButtonLook(true, false, true), (ListBarButtonLook{SettingsTone::primary, 0}));
    EXPECT_EQ(listBarButtonLook(true, true, false), (ListBarButtonLook{SettingsTone::tertiary, 0}));
}

TEST(SettingsControlLooks, AnEditorRowShowsItsRemoveButtonWhileHoveredOrFocused) {
    EXPECT_EQ(editorRowLook(false, false), (EditorRowLook{0, 0}));
    EXPECT_EQ(editorRowLook(true, false), (EditorRowLook{0.06, 1}));
    EXPECT_EQ(editorRowLook(false, true), (EditorRowLook{0, 1})) << "the plate only under the pointer";
    EXPECT_EQ(hoverRemoveLook(true), (HoverRemoveLook{"minus.circle.fill", SettingsTone::destructive}));
    EXPECT_EQ(hoverRemoveLook(false), (HoverRemoveLook{"minus.circle", SettingsTone::secondary}));
}

TEST(SettingsControlLooks, TheSearchFieldGlowsWhileFocusedAndOffersClearWhileItHoldsText) {
    const SearchFieldLook focused = searchFieldLook(true, false);
    EXPECT_EQ(focused.magnifier, SettingsTone::accent);
    EXPECT_EQ(focused.fillOpacity, 0.09);
    EXPECT_EQ(focused.borderWidth, 1.5);
    EXPECT_EQ(focused.glowOpacity, 0.3);
    const SearchFieldLook idle = searchFieldLook(false, true);
    EXPECT_EQ(idle.border, SettingsTone::separator);
    EXPECT_EQ(idle.glowOpacity, 0);
    EXPECT_TRUE(idle.showsClear);
    EXPECT_FALSE(focused.showsClear);
}

}  // namespace
}  // namespace quillbern
