#include "core/shortcuts/HotKeyProbe.h"

#include <array>

#include "core/foundation/Localization.h"

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

std::unordered_map<HotKeyChord, std::string_view> makeWellKnown() {
    std::unordered_map<HotKeyChord, std::string_view> known{
        // TRANSLATORS: what a shortcut does on Linux desktops, in the words of the language's own
        // keyboard settings where they name it.
        {{kTab, HotKeyChord::kOption | HotKeyChord::kShift}, trNoop("Switch windows backwards")},
        {{kTab, kCtrlAlt}, trNoop("Switch system controls")},
        {{kT, kCtrlAlt}, trNoop("Open a terminal")},
        {{kDelete, kCtrlAlt}, trNoop("Log out")},
        {{kL, kCtrlAlt}, trNoop("Lock screen")},
        {{kD, kCtrlAlt}, trNoop("Show the desktop")},
        {{kBackspace, kCtrlAlt}, trNoop("End the X session")},
        {{kEscape, kCtrlAlt}, trNoop("Close a window by clicking it")},
        {{kLeft, HotKeyChord::kControlCommand}, trNoop("Switch workspace")},
        {{kRight, HotKeyChord::kControlCommand}, trNoop("Switch workspace")},
        {{kLeft, kShiftSuper}, trNoop("Move the window to another monitor")},
        {{kRight, kShiftSuper}, trNoop("Move the window to another monitor")},
        {{kSpace, kShiftSuper}, trNoop("Previous input source")},
    };
    for (const std::uint32_t arrow : {kLeft, kRight, kUp, kDown}) {
        known.emplace(HotKeyChord{arrow, kCtrlAlt}, trNoop("Switch workspace"));
        known.emplace(HotKeyChord{arrow, kCtrlAltShift}, trNoop("Move the window to another workspace"));
    }
    for (const std::uint32_t function : kFunctionKeys)
        known.emplace(HotKeyChord{function, kCtrlAlt}, trNoop("Switch to a text console"));
    return known;
}

}  // namespace

const std::unordered_map<HotKeyChord, std::string_view>& HotKeyProbe::wellKnown() {
    static const auto known = makeWellKnown();
    return known;
}

}  // namespace quillbern
