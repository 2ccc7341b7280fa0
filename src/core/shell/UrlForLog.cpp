#include "core/shell/UrlForLog.h"

#include <optional>

#include "core/foundation/Log.h"
#include "core/shell/UrlCommand.h"

namespace quillbern {

std::string urlForLog(std::string_view url) {
    // Only what the program read of the text: whatever else it held (a password, however
    // misspelt the user information around it) stays out of the log.
    const std::optional<UrlReading> reading = UrlReading::of(url);
    if (!reading) return std::string(UrlCommand::kScheme) + ":\u2026";
    std::string read = std::string(UrlCommand::kScheme) + "://" + reading->host;
    for (const std::string& element : reading->elements)
        read += "/" + element;
    std::string shown = escapedForLog(read);
    // The reader learns that a query was there, not what it held.
    const std::size_t cut = url.find_first_of("?#");
    if (cut != std::string_view::npos && url[cut] == '?') shown += "?\u2026";
    return shown;
}

}  // namespace quillbern
