#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillbern {

// What an installed desktop entry offers for recognising its windows, and for naming them.
struct DesktopEntryFacts {
    std::string id;                                  // desktop-entry id without ".desktop"
    std::optional<std::string> startupWmClass;       // StartupWMClass
    std::vector<std::string> programs;               // the programs of Exec and TryExec, as written
    bool noDisplay = false;                          // NoDisplay=true: a helper, not shown as an application
    std::optional<std::string> path = std::nullopt;  // the entry's file
    std::optional<std::string> name = std::nullopt;  // Name, as the current locale shows it
};

}  // namespace quillbern
