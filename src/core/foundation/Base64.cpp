#include "core/foundation/Base64.h"

#include <array>

namespace quillbern {

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int, 256> decodeTable() {
    std::array<int, 256> table{};
    for (auto& v : table)
        v = -1;
    for (int i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = i;
    return table;
}
constexpr auto kDecode = decodeTable();
}  // namespace

std::string base64Encode(const Bytes& bytes) {
    // Written in place: the docks' stored form is hundreds of kilobytes, saved on every change.
    std::string out((bytes.size() + 2) / 3 * 4, '=');
    char* next = out.data();
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2];
        *next++ = kAlphabet[v >> 18 & 63];
        *next++ = kAlphabet[v >> 12 & 63];
        *next++ = kAlphabet[v >> 6 & 63];
        *next++ = kAlphabet[v & 63];
    }
    if (const std::size_t rest = bytes.size() - i; rest > 0) {
        const unsigned v = bytes[i] << 16 | (rest == 2 ? bytes[i + 1] << 8 : 0);
        *next++ = kAlphabet[v >> 18 & 63];
        *next++ = kAlphabet[v >> 12 & 63];
        if (rest == 2) *next = kAlphabet[v >> 6 & 63];
    }
    return out;
}

std::optional<Bytes> base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    Bytes out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        const int padding = last ? (text[i + 3] == '=') + (text[i + 2] == '=') : 0;
        if (padding == 1 && text[i + 2] == '=') return std::nullopt;
        unsigned v = 0;
        for (int k = 0; k < 4 - padding; ++k) {
            const int d = kDecode[static_cast<unsigned char>(text[i + k])];
            if (d < 0) return std::nullopt;
            v |= static_cast<unsigned>(d) << (18 - 6 * k);
        }
        out.push_back(static_cast<std::uint8_t>(v >> 16));
        if (padding < 2) out.push_back(static_cast<std::uint8_t>(v >> 8 & 0xff));
        if (padding < 1) out.push_back(static_cast<std::uint8_t>(v & 0xff));
    }
    return out;
}

}  // namespace quillbern
