#pragma once

#include <string_view>

namespace quillbern {

// The names of the notices the program posts to itself on its `NotificationBus`.

// Settings shows its Help section.
inline constexpr std::string_view kShowHelpNotification = "quillbern.showHelp";
// The first-launch walkthrough comes forward, or opens again.
inline constexpr std::string_view kShowOnboardingNotification = "quillbern.showOnboarding";

}  // namespace quillbern
