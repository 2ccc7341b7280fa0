#include "core/shell/UrlForLog.h"

#include "core/foundation/Log.h"

namespace quillbern {

std::string urlForLog(std::string_view url) {
    const std::size_t cut = url.find_first_of("?#");
    std::string shown = escapedForLog(url.substr(0, cut));
    // The reader learns that a query was there, not what it held.
    if (cut != std::string_view::npos && url[cut] == '?') shown += "?\u2026";
    return shown;
}

}  // namespace quillbern
