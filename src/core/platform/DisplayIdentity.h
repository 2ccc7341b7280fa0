#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillbern {

// What a monitor tells about itself: the EDID's vendor, product and serial numbers.
struct MonitorEdid {
    std::uint32_t vendor = 0;
    std::uint32_t product = 0;
    std::uint32_t serial = 0;
};

struct DisplayIdentitySource {
    std::optional<MonitorEdid> edid;
    std::string connector;  // "HDMI-1"
};

// Stable ids of the connected displays, in their order: "vendor-product-serial" in decimal,
// or the connector name without EDID. Identical monitors would share one id, so every
// later one gets "-<connector>" appended and a dock assigned to one stands on one only.
std::vector<std::string> stableDisplayIds(const std::vector<DisplayIdentitySource>& displays);

}  // namespace quillbern
