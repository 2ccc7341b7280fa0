#include <gtest/gtest.h>
#include <string>
#include <unordered_set>

#include "core/foundation/Uuid.h"
#include "sim/SimUuidSource.h"

using namespace quillbern;

namespace {
Uuid counting() {
    Uuid uuid;
    for (std::size_t i = 0; i < uuid.bytes.size(); ++i)
        uuid.bytes[i] = static_cast<std::uint8_t>(i * 0x11);
    return uuid;
}
}  // namespace

TEST(Uuid, TextIsUpperCaseCanonicalAndParsesInAnyCase) {
    const Uuid uuid = counting();
    EXPECT_EQ(uuid.text(), "00112233-4455-6677-8899-AABBCCDDEEFF");
    EXPECT_EQ(Uuid::parse("00112233-4455-6677-8899-AABBCCDDEEFF"), uuid);
    EXPECT_EQ(Uuid::parse("00112233-4455-6677-8899-aabbccddeeff"), uuid);
    EXPECT_EQ(Uuid::parse("00112233-4455-6677-8899-aAbBcCdDeEfF"), uuid);
}

TEST(Uuid, ParseRefusesAnythingButTheCanonicalLayout) {
    const std::string good = "00112233-4455-6677-8899-AABBCCDDEEFF";
    ASSERT_TRUE(Uuid::parse(good));
    for (const std::string bad : {
             "",
             "00112233-4455-6677-8899-AABBCCDDEEF",     // one digit short
             "00112233-4455-6677-8899-AABBCCDDEEFF0",   // one digit long
             "00112233445566778899AABBCCDDEEFF",        // no hyphens
             "0011223-34455-6677-8899-AABBCCDDEEFF",    // hyphen one place early
             "00112233-4455-66778-899-AABBCCDDEEFF",    // hyphen one place late
             "00112233-4455-6677-8899+AABBCCDDEEFF",    // not a hyphen
             "00112233-4455-6677-8899-AABBCCDDEEFG",    // not hexadecimal
             "0011223 -4455-6677-8899-AABBCCDDEEFF",    // space
             "+0112233-4455-6677-8899-AABBCCDDEEFF",    // sign
             "{00112233-4455-6677-8899-AABBCCDDEEFF}",  // braces
             "{0112233-4455-6677-8899-AABBCCDDEEF}",    // braces at the canonical length
             "urn:uuid:00112233-4455-6677-8899-AABBCCDDEEFF",
         }) {
        EXPECT_EQ(Uuid::parse(bad), std::nullopt) << bad;
    }
}

TEST(Uuid, RandomIsVersionFourWithTheRfcVariant) {
    std::unordered_set<Uuid> seen;
    for (int i = 0; i < 1000; ++i) {
        const Uuid uuid = Uuid::random();
        ASSERT_EQ(uuid.bytes[6] >> 4, 4);
        ASSERT_EQ(uuid.bytes[8] >> 6, 0b10);
        const std::string text = uuid.text();
        ASSERT_EQ(text[14], '4');
        ASSERT_NE(std::string("89AB").find(text[19]), std::string::npos);
        ASSERT_EQ(Uuid::parse(text), uuid);
        seen.insert(uuid);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

TEST(Uuid, SimSourceIsPredictable) {
    SimUuidSource source(0xA1B2C3D4);
    EXPECT_EQ(source.make().text(), "A1B2C3D4-0000-4000-8000-000000000001");
    EXPECT_EQ(source.make().text(), "A1B2C3D4-0000-4000-8000-000000000002");

    SimUuidSource same(0xA1B2C3D4);
    SimUuidSource other(1);
    const Uuid first = same.make();
    EXPECT_EQ(first.text(), "A1B2C3D4-0000-4000-8000-000000000001");
    EXPECT_NE(other.make(), first);
}
