#include "core/shell/UrlForLog.h"

#include "core/foundation/Log.h"

namespace quillbern {

std::string urlForLog(std::string_view url) {
    return escapedForLog(url.substr(0, url.find_first_of("?#")));
}

}  // namespace quillbern
