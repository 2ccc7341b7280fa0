#include "core/shortcuts/HotKeyProbe.h"

#include <array>

namespace quillbern {

namespace {

constexpr std::uint32_t kCtrlAlt = HotKeyChord::kControl | HotKeyChord::kOption;
constexpr std::uint32_t kCtrlAltShift = kCtrlAlt | HotKeyChord::kShift;
constexpr std::uint32_t kShiftSuper = HotKeyChord::kShift | HotKeyChord::kCommand;

// Virtual key codes of the keys the table names.
enum Key : std::uint32_t {
    kD = 2,
    kT = 17,
    kL = 37,
    kTab = 48,
    kSpace = 49,
    kBackspace = 51,
    kEscape = 53,
    kDelete = 117,
    kLeft = 123,
    kRight = 124,
    kDown = 125,
    kUp = 126,
};

constexpr std::array<std::uint32_t, 12> kFunctionKeys{122, 120, 99, 118, 96, 97, 98, 100, 101, 109, 103, 111};

std::unordered_map<HotKeyChord, std::string> makeWellKnown() {
    std::unordered_map<HotKeyChord, std::string> known{
        {{kTab, HotKeyChord::kOption | HotKeyChord::kShift}, "Switch windows backwards"},
        {{kTab, kCtrlAlt}, "Switch system controls"},
        {{kT, kCtrlAlt}, "Open a terminal"},
        {{kDelete, kCtrlAlt}, "Log out"},
        {{kL, kCtrlAlt}, "Lock screen"},
        {{kD, kCtrlAlt}, "Show the desktop"},
        {{kBackspace, kCtrlAlt}, "End the X session"},
        {{kEscape, kCtrlAlt}, "Close a window by clicking it"},
        {{kLeft, HotKeyChord::kControlCommand}, "Switch workspace"},
        {{kRight, HotKeyChord::kControlCommand}, "Switch workspace"},
        {{kLeft, kShiftSuper}, "Move the window to another monitor"},
        {{kRight, kShiftSuper}, "Move the window to another monitor"},
        {{kSpace, kShiftSuper}, "Previous input source"},
    };
    for (const std::uint32_t arrow : {kLeft, kRight, kUp, kDown}) {
        known.emplace(HotKeyChord{arrow, kCtrlAlt}, "Switch workspace");
        known.emplace(HotKeyChord{arrow, kCtrlAltShift}, "Move the window to another workspace");
    }
    for (const std::uint32_t function : kFunctionKeys)
        known.emplace(HotKeyChord{function, kCtrlAlt}, "Switch to a text console");
    return known;
}

}  // namespace

const std::unordered_map<HotKeyChord, std::string>& HotKeyProbe::wellKnown() {
    static const auto known = makeWellKnown();
    return known;
}

}  // namespace quillbern
