#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "core/foundation/Uuid.h"

namespace quillbern {

// What a global shortcut does: show or hide one dock, or one of the features.
class HotKeyAction {
public:
    enum class Kind : std::uint8_t { profile, overview, search, files, focusMode, workspace, cheatSheet, peekDocks };

    // A feature action; the dock identifier belongs to profile actions only.
    constexpr explicit HotKeyAction(Kind kind) : kind_(kind) {}
    static constexpr HotKeyAction profile(const Uuid& id) { return HotKeyAction(Kind::profile, id); }

    constexpr Kind kind() const { return kind_; }
    // The dock of a profile action; the nil UUID for the others.
    constexpr const Uuid& profileID() const { return profileID_; }

    bool operator==(const HotKeyAction&) const = default;

private:
    constexpr HotKeyAction(Kind kind, const Uuid& id) : kind_(kind), profileID_(id) {}

    Kind kind_;
    Uuid profileID_{};
};

// The feature actions, in the order their overrides are resolved and their shortcuts listed.
inline constexpr std::array<HotKeyAction, 7> kFeatureOrder{
    HotKeyAction(HotKeyAction::Kind::overview),  HotKeyAction(HotKeyAction::Kind::search),
    HotKeyAction(HotKeyAction::Kind::files),     HotKeyAction(HotKeyAction::Kind::focusMode),
    HotKeyAction(HotKeyAction::Kind::workspace), HotKeyAction(HotKeyAction::Kind::cheatSheet),
    HotKeyAction(HotKeyAction::Kind::peekDocks),
};

}  // namespace quillbern

template <>
struct std::hash<quillbern::HotKeyAction> {
    std::size_t operator()(const quillbern::HotKeyAction& action) const noexcept;
};
