#include "core/platform/DisplayIdentity.h"

#include <set>

namespace quillbern {

std::vector<std::string> stableDisplayIds(const std::vector<DisplayIdentitySource>& displays) {
    std::vector<std::string> ids;
    std::set<std::string> taken;
    for (const DisplayIdentitySource& display : displays) {
        std::string id = display.edid
                             ? std::to_string(display.edid->vendor) + "-" + std::to_string(display.edid->product) +
                                   "-" + std::to_string(display.edid->serial)
                             : display.connector;
        if (taken.contains(id)) id += "-" + display.connector;
        taken.insert(id);
        ids.push_back(std::move(id));
    }
    return ids;
}

}  // namespace quillbern
