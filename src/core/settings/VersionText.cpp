#include "core/settings/VersionText.h"

namespace quillbern {

std::string versionText(const AppProcess& process, std::string_view missing) {
    const auto shown = [missing](const std::optional<std::string>& value) {
        return value ? *value : std::string(missing);
    };
    return shown(process.version()) + " (" + shown(process.buildNumber()) + ")";
}

}  // namespace quillbern
