#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/CaseNames.h"

namespace quillbern {

// What the program reads of a URL of its scheme, "quillbern://[user@]host[:port]/path": the
// host, decoded and lower-cased, and the path's elements between slashes, decoded. None for
// another scheme, no host, a port that is no number, a broken escape or text that is not UTF-8.
struct UrlReading {
    std::string host;
    std::vector<std::string> elements;

    static std::optional<UrlReading> of(std::string_view url);
};

// One automation URL, understood. The forms, scheme, host and actions in any letter case:
//   quillbern://overview/toggle, quillbern://shortcuts/toggle, quillbern://search/toggle,
//   quillbern://files/toggle          toggle that palette
//   quillbern://focus/on|off|toggle   switch focus mode
//   quillbern://profiles/DOCK/show|hide|toggle (or profile/...)   one dock, named by its
//                                     identifier, its position from 1 or its name
// A port, user information, the query and the fragment take no part in it.
struct UrlCommand {
    enum class Kind { overview, shortcuts, search, files, focus, profile };
    enum class FocusAction { on, off, toggle };
    enum class DockAction { show, hide, toggle };

    static constexpr std::string_view kScheme = "quillbern";

    Kind kind = Kind::overview;
    // For `focus` only.
    FocusAction focusAction = FocusAction::toggle;
    // For `profile` only: the dock as typed, percent escapes decoded; never empty.
    std::string dock;
    DockAction dockAction = DockAction::toggle;

    // `overview`, `shortcuts`, `search` or `files`.
    static UrlCommand palette(Kind kind);
    static UrlCommand focus(FocusAction action);
    static UrlCommand profile(std::string dock, DockAction action);

    // None when the text is not an automation URL of these forms. Reads nothing else.
    static std::optional<UrlCommand> parse(std::string_view url);
    // The URL in its plain form, which parses back to this command.
    std::string url() const;

    bool operator==(const UrlCommand&) const = default;
};

template <>
struct CaseNames<UrlCommand::Kind> {
    static constexpr std::array<std::string_view, 6> names{"overview", "shortcuts", "search",
                                                           "files",    "focus",     "profiles"};
};

template <>
struct CaseNames<UrlCommand::FocusAction> {
    static constexpr std::array<std::string_view, 3> names{"on", "off", "toggle"};
};

template <>
struct CaseNames<UrlCommand::DockAction> {
    static constexpr std::array<std::string_view, 3> names{"show", "hide", "toggle"};
};

}  // namespace quillbern
