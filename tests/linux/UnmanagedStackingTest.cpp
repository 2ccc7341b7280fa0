#include <gtest/gtest.h>

#include "ui/foundation/UnmanagedStacking.h"

using namespace quillbern;

namespace {

using Owner = StackedWindow::Owner;

StackedWindow other(std::uint32_t id, bool shown = true, bool unmanaged = false) {
    return {id, shown, unmanaged, Owner::other};
}
StackedWindow ours(std::uint32_t id, Owner owner, bool shown = true) {
    return {id, shown, true, owner};
}

}  // namespace

TEST(UnmanagedStacking, OverTheTopmostManagedWindowBelowOurHigherPanelsAboveIt) {
    // Nothing else shown: on top of all.
    EXPECT_EQ(unmanagedPlacement({}), std::nullopt);
    EXPECT_EQ(unmanagedPlacement({other(1, false), other(2, true, true)}), std::nullopt);

    // Right over the topmost window the window manager shows; hidden ones and others'
    // menus and tooltips do not count.
    EXPECT_EQ(unmanagedPlacement({other(1), other(2), other(3, false), other(4, true, true)}), (StackTarget{2, true}));

    // Our docks above the windows: right below the lowest of them, not below a hidden one.
    EXPECT_EQ(unmanagedPlacement({other(1), ours(7, Owner::usAbove, false), ours(8, Owner::usAbove),
                                  ours(9, Owner::usAbove), other(4, true, true)}),
              (StackTarget{8, false}));
    // A full-screen window over our docks: the panel goes over it, and so over them.
    EXPECT_EQ(unmanagedPlacement({other(1), ours(8, Owner::usAbove), other(2)}), (StackTarget{2, true}));

    // Our panels of the same level, the one placed included, are not in its way.
    EXPECT_EQ(unmanagedPlacement({other(1), ours(5, Owner::us), ours(6, Owner::us)}), (StackTarget{1, true}));
    EXPECT_EQ(unmanagedPlacement({ours(5, Owner::us), ours(8, Owner::usAbove)}), (StackTarget{8, false}));
}
