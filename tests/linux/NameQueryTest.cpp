#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/palettes/NameQuery.h"
#include "linux/icu/IcuTextServices.h"

using namespace quillbern;
using ::testing::ElementsAre;

namespace {

std::vector<std::string> best(std::string_view query, const std::vector<std::string>& names, std::size_t limit = 8) {
    const IcuTextServices text;
    return bestMatches<std::string>(
        text, query, names, limit, [](const std::string& name) -> std::string_view { return name; },
        [&text](const std::string& a, const std::string& b) { return text.compare(a, b) < 0; });
}

}  // namespace

// The palettes' ranking with the program's own text rules.
TEST(NameQuery, RanksWithUnicodeRules) {
    EXPECT_THAT(best("note", {"Footnote", "Quick Notes", "Notebook", "My-Notes"}),
                ElementsAre("Notebook", "My-Notes", "Quick Notes", "Footnote"));
    EXPECT_THAT(best("cafe", {"Café Menu", "CAFÉ", "Decaf"}), ElementsAre("CAFÉ", "Café Menu"));
    EXPECT_THAT(best("STRASSE", {"Hauptstraße", "Straßenkarte"}), ElementsAre("Straßenkarte", "Hauptstraße"));
    EXPECT_THAT(best("app", {"2app", "élan app", "éapp"}), ElementsAre("élan app", "2app", "éapp"));
    EXPECT_THAT(best("\xE3\x80\x80quick n\t", {"Quick Notes"}), ElementsAre("Quick Notes"))
        << "an ideographic space is trimmed too";
}
