#include "core/foundation/Uuid.h"

#include <random>

namespace quillbern {

namespace {
constexpr std::array<std::size_t, 4> kHyphens{8, 13, 18, 23};

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

std::string Uuid::text() const {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(36);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
        out += kHex[bytes[i] >> 4];
        out += kHex[bytes[i] & 0xf];
    }
    return out;
}

std::optional<Uuid> Uuid::parse(std::string_view text) {
    if (text.size() != 36) return std::nullopt;
    Uuid uuid;
    std::size_t byte = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (i == kHyphens[0] || i == kHyphens[1] || i == kHyphens[2] || i == kHyphens[3]) {
            if (text[i] != '-') return std::nullopt;
            ++i;
            continue;
        }
        const int high = hexValue(text[i]);
        const int low = hexValue(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        uuid.bytes[byte++] = static_cast<std::uint8_t>(high << 4 | low);
        i += 2;
    }
    return uuid;
}

Uuid Uuid::random() {
    thread_local std::mt19937_64 engine = [] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device(), device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }();
    Uuid uuid;
    for (std::size_t i = 0; i < uuid.bytes.size(); i += 8) {
        std::uint64_t word = engine();
        for (std::size_t j = 0; j < 8; ++j)
            uuid.bytes[i + j] = static_cast<std::uint8_t>(word >> (8 * j));
    }
    uuid.bytes[6] = static_cast<std::uint8_t>((uuid.bytes[6] & 0x0f) | 0x40);  // version 4
    uuid.bytes[8] = static_cast<std::uint8_t>((uuid.bytes[8] & 0x3f) | 0x80);  // RFC 4122 variant
    return uuid;
}

}  // namespace quillbern

std::size_t std::hash<quillbern::Uuid>::operator()(const quillbern::Uuid& uuid) const noexcept {
    std::size_t h = 1469598103934665603ull;
    for (const auto byte : uuid.bytes)
        h = (h ^ byte) * 1099511628211ull;
    return h;
}
