#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "core/foundation/Base64.h"
#include "core/foundation/Localization.h"
#include "core/foundation/Log.h"
#include "sim/SimLocalizer.h"
#include "sim/SimLog.h"

using namespace quillbern;

namespace {

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

}  // namespace

TEST(Base64, KnownVectorsRoundTrip) {
    const std::vector<std::pair<std::string, std::string>> vectors{
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [plain, encoded] : vectors) {
        EXPECT_EQ(base64Encode(bytesOf(plain)), encoded);
        EXPECT_EQ(base64Decode(encoded), bytesOf(plain)) << encoded;
    }
}

TEST(Base64, EveryByteValueAndShortLengthsRoundTrip) {
    Bytes all;
    for (int i = 0; i < 256; ++i)
        all.push_back(static_cast<std::uint8_t>(255 - i));
    for (std::size_t length = 0; length <= all.size(); length += length < 8 ? 1 : 37) {
        const Bytes part(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(length));
        const std::string text = base64Encode(part);
        EXPECT_EQ(text.size(), (length + 2) / 3 * 4);
        EXPECT_EQ(base64Decode(text), part) << "length " << length;
    }
    EXPECT_EQ(base64Decode(base64Encode(all)), all);
}

TEST(Base64, RefusesMalformedText) {
    const std::vector<std::string> malformed{"Z",
                                             "Zg",
                                             "Zg=",
                                             "Zg===",
                                             "====",
                                             "Z===",
                                             "Zg=a",
                                             "Zm9v!A==",
                                             "Zg==Zg==",
                                             "Zm 9v",
                                             "Zm9v\n",
                                             "Zm-_",
                                             std::string("Zm\0v", 4)};
    for (const std::string& bad : malformed) {
        EXPECT_EQ(base64Decode(bad), std::nullopt) << bad;
    }
}

TEST(Localization, FormatFillsPlaceholders) {
    EXPECT_EQ(formatLocalized("%@ has %lld items", {"Dock", "3"}), "Dock has 3 items");
    EXPECT_EQ(formatLocalized("%d of %ld", {"1", "2"}), "1 of 2");
    EXPECT_EQ(formatLocalized("%2$@ before %1$@", {"A", "B"}), "B before A");
    EXPECT_EQ(formatLocalized("%1$@ and %1$@, %2$lld", {"A", "7"}), "A and A, 7");
    EXPECT_EQ(formatLocalized("100%%", {}), "100%");
    EXPECT_EQ(formatLocalized("%%@ stays", {"x"}), "%@ stays");
    EXPECT_EQ(formatLocalized("50% off, %", {}), "50% off, %");
    EXPECT_EQ(formatLocalized("%@ and %@", {"only"}), "only and ");
    // A broken catalogue's absurd position names no argument instead of failing.
    EXPECT_EQ(formatLocalized("%99999999999999999999$@!", {"A"}), "!");
}

TEST(Localization, TextsGoThroughTheInstalledLocalizer) {
    EXPECT_EQ(tr("Open"), "Open");
    {
        SimLocalizer german;
        german.add("Open", "Öffnen");
        german.add("%@ windows", "%@ Fenster");
        german.add("%1$@ on %2$@", "%2$@: %1$@");
        german.addInContext("keyboard key", "Enter", "Eingabe");
        german.addPlural("%1$@ has %2$lld window", "%1$@: ein Fenster", "%1$@: %2$lld Fenster");
        EXPECT_EQ(tr("Open"), "Öffnen");
        EXPECT_EQ(tr("Close"), "Close");
        EXPECT_EQ(trf("%@ windows", 3), "3 Fenster");
        EXPECT_EQ(trf("%1$@ on %2$@", "Dock", "Screen 2"), "Screen 2: Dock");
        EXPECT_EQ(tr(trcNoop("keyboard key", "Enter")), "Eingabe");
        EXPECT_EQ(tr("Enter"), "Enter");
        EXPECT_EQ(trn("%1$@ has %2$lld window", "%1$@ has %2$lld windows", 1, "Main", 1), "Main: ein Fenster");
        EXPECT_EQ(trn("%1$@ has %2$lld window", "%1$@ has %2$lld windows", 7, "Main", 7), "Main: 7 Fenster");
        {
            SimLocalizer shouting;
            shouting.add("Open", "OPEN");
            EXPECT_EQ(tr("Open"), "OPEN");
        }
        EXPECT_EQ(tr("Open"), "Öffnen");
    }
    EXPECT_EQ(tr("Open"), "Open");
    EXPECT_EQ(trn("%lld window", "%lld windows", 1, 1), "1 window");
    EXPECT_EQ(trn("%lld window", "%lld windows", 0, 0), "0 windows");
    EXPECT_EQ(trn("%lld window", "%lld windows", -1, -1), "-1 windows");
}

TEST(Log, LinesCarryThePrefixAndGoToTheInnermostSink) {
    SimLog outer;
    log("moved ", 3, " items to ", 1.5);
    EXPECT_EQ(outer.lines(), (std::vector<std::string>{"Quillbern: moved 3 items to 1.5"}));
    {
        SimLog inner;
        logLine("inner only");
        EXPECT_EQ(inner.lines(), (std::vector<std::string>{"Quillbern: inner only"}));
    }
    logLine("back");
    EXPECT_EQ(outer.lines().size(), 2u);
    EXPECT_EQ(outer.lines().back(), "Quillbern: back");
    EXPECT_EQ(outer.count("Quillbern: "), 2);
}

TEST(Log, EscapedForLogKeepsOneShortLineThatReadsAsWritten) {
    EXPECT_EQ(escapedForLog("a\nb\rc\td\\e"), "a\\nb\\rc\\td\\\\e");
    EXPECT_EQ(escapedForLog(std::string("x\0y\x1f\x7f", 5)), "x\\x00y\\x1f\\x7f");
    EXPECT_EQ(escapedForLog("Grüße/Dock 2"), "Grüße/Dock 2");
    EXPECT_EQ(escapedForLog("caf\xe9/\xc3"), "caf\\xe9/\\xc3") << "bytes that are not UTF-8";
    EXPECT_EQ(escapedForLog(""), "");
    // Characters that turn the direction of the rest of the line, or hide, are written out.
    EXPECT_EQ(escapedForLog("evil\u202etxt.exe"), "evil\\u202etxt.exe");
    EXPECT_EQ(escapedForLog("\u2066a\u2069\u200f\u061c\u2028\u0085\U000e0041"),
              "\\u2066a\\u2069\\u200f\\u061c\\u2028\\u0085\\U000e0041");
    EXPECT_EQ(escapedForLog("שלום"), "שלום") << "right-to-left letters themselves stay";
    // A long text keeps its first characters, whole, and marks the cut.
    const std::string longest(kLoggedTextLength, 'a');
    EXPECT_EQ(escapedForLog(longest), longest);
    EXPECT_EQ(escapedForLog(longest + 'a'), longest + "…");
    EXPECT_EQ(escapedForLog("ÄÖÜäöü", 4), "ÄÖÜä…");
    EXPECT_EQ(escapedForLog("\n\n\n", 2), "\\n\\n…");
}
