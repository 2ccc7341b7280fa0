#pragma once

#include <array>

#include "core/model/HotKeyAction.h"

namespace quillbern {

// The global shortcuts and the order of their actions.
class HotKeyBindings {
public:
    // The feature actions, in the order overrides are looked up and shortcuts are listed.
    static constexpr std::array<HotKeyAction, 7> featureOrder{
        HotKeyAction(HotKeyAction::Kind::overview),  HotKeyAction(HotKeyAction::Kind::search),
        HotKeyAction(HotKeyAction::Kind::files),     HotKeyAction(HotKeyAction::Kind::focusMode),
        HotKeyAction(HotKeyAction::Kind::workspace), HotKeyAction(HotKeyAction::Kind::cheatSheet),
        HotKeyAction(HotKeyAction::Kind::peekDocks),
    };
};

}  // namespace quillbern
