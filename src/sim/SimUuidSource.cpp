#include "sim/SimUuidSource.h"

namespace quillbern {

Uuid SimUuidSource::make() {
    Uuid uuid;
    for (int i = 0; i < 4; ++i)
        uuid.bytes[i] = static_cast<std::uint8_t>(seed_ >> (24 - 8 * i));
    uuid.bytes[6] = 0x40;
    uuid.bytes[8] = 0x80;
    const std::uint64_t n = ++counter_;
    for (int i = 0; i < 6; ++i)
        uuid.bytes[15 - i] = static_cast<std::uint8_t>(n >> (8 * i));
    return uuid;
}

}  // namespace quillbern
