#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillbern {

struct Uuid {
    std::array<std::uint8_t, 16> bytes{};

    // Canonical text: 8-4-4-4-12 hexadecimal digits, upper-case.
    std::string text() const;
    // Accepts exactly the canonical layout, in any case; nothing else.
    static std::optional<Uuid> parse(std::string_view text);
    // A random version-4 UUID.
    static Uuid random();

    auto operator<=>(const Uuid&) const = default;
};

// Where new UUIDs come from, so tests can make them predictable.
class UuidSource {
public:
    virtual ~UuidSource() = default;
    virtual Uuid make() = 0;
};

class RandomUuidSource final : public UuidSource {
public:
    Uuid make() override { return Uuid::random(); }
};

}  // namespace quillbern

template <>
struct std::hash<quillbern::Uuid> {
    std::size_t operator()(const quillbern::Uuid& uuid) const noexcept;
};
