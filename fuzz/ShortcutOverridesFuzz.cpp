// The stored shortcut overrides: what reads is used, anything else is kept once, and a
// change saves what reads back.
#include <array>
#include <limits>
#include <utility>

#include "FuzzSupport.h"
#include "core/foundation/JsonText.h"
#include "sim/SimDefaults.h"

using namespace quillbern;
using namespace quillbern::fuzz;

namespace {

using Kind = HotKeyAction::Kind;

constexpr std::array<std::pair<std::string_view, Kind>, 7> kStorageKeys{{{"overview", Kind::overview},
                                                                         {"search", Kind::search},
                                                                         {"files", Kind::files},
                                                                         {"focus", Kind::focusMode},
                                                                         {"workspace", Kind::workspace},
                                                                         {"cheatsheet", Kind::cheatSheet},
                                                                         {"peek", Kind::peekDocks}}};

std::optional<Kind> actionNamed(std::string_view name) {
    for (const auto& [key, kind] : kStorageKeys) {
        if (key == name) return kind;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> uint32In(const Json& chord, const char* member) {
    const auto found = chord.find(member);
    if (found == chord.end() || !found->is_number_integer()) return std::nullopt;
    if (found->is_number_unsigned()) {
        const auto value = found->get<std::uint64_t>();
        if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
        return static_cast<std::uint32_t>(value);
    }
    const auto value = found->get<std::int64_t>();
    if (value < 0 || value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<HotKeyChord> chordOf(const Json& value) {
    if (!value.is_object()) return std::nullopt;
    const auto keyCode = uint32In(value, "keyCode");
    const auto modifiers = uint32In(value, "modifiers");
    if (!keyCode || !modifiers) return std::nullopt;
    return HotKeyChord{*keyCode, *modifiers};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Machine machine;
    const Json stored = Defaults::dataJson(bytesOf(data, size));
    SimDefaults defaults(Json{{"hotkeyOverrides.v1", stored}});
    DockPreferences preferences(defaults, machine.clock, machine.mainLoop);

    // Read here with the library alone, which has no depth bound of its own.
    const Json found = Json::parse(textOf(data, size), nullptr, false);
    bool whole = found.is_object() && nestingDepth(found) <= kMaxJsonDepth;
    HotKeyOverrides readable;
    if (whole) {
        for (const auto& member : found.items()) {
            const auto kind = actionNamed(member.key());
            const auto chord = chordOf(member.value());
            if (kind && chord) {
                readable.emplace(HotKeyAction(*kind), *chord);
            } else {
                whole = false;
            }
        }
    }
    require(preferences.hotkeyOverrides() == readable, "every readable override is used, nothing else");
    if (!whole) require(hasCopy(defaults, "hotkeyOverrides.v1", stored), "overrides not read whole are kept");

    const std::vector<std::string> keys = defaults.keys();
    DockPreferences again(defaults, machine.clock, machine.mainLoop);
    require(defaults.keys() == keys, "a second start keeps no second copy of the same bytes");

    const HotKeyChord chord{static_cast<std::uint32_t>(size), size > 0 ? data[0] : 0u};
    preferences.setOverride(HotKeyAction(Kind::search), chord);
    require(DockPreferences::loadOverrides(defaults) == preferences.hotkeyOverrides(), "saved overrides read back");
    if (!whole) require(hasCopy(defaults, "hotkeyOverrides.v1", stored), "a change keeps the copy");
    return 0;
}
