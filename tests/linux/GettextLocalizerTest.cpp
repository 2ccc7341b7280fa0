#include <clocale>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "core/foundation/Localization.h"
#include "core/foundation/RegularFile.h"
#include "core/platform/Processes.h"
#include "linux/i18n/CatalogueCheck.h"
#include "linux/i18n/GettextLocalizer.h"
#include "linux/i18n/InterfaceLanguage.h"
#include "linux/process/LinuxProcesses.h"
#include "support/InstalledCatalogue.h"
#include "support/ScopedEnvironment.h"

using namespace quillbern;

namespace {

const std::filesystem::path kGerman =
    std::filesystem::path(QUILLBERN_TEST_CATALOGUES) / "de" / "LC_MESSAGES" / "quillbern.mo";

}  // namespace

TEST(GettextLocalizer, SpeaksTheLanguageOfLanguageEvenInTheCLocale) {
    ScopedEnvironment environment;
    environment.set("LANGUAGE", "ja:de");
    InstalledCatalogue catalogue(QUILLBERN_TEST_CATALOGUES);
    std::setlocale(LC_MESSAGES, "C");
    useInterfaceLanguage(std::nullopt);

    EXPECT_EQ(catalogue.localizer().language(), "de");
    EXPECT_EQ(tr("Open"), "Öffnen");
    EXPECT_EQ(tr("Close"), "Close");
    EXPECT_EQ(trn("%lld window", "%lld windows", 1, 1), "Ein Fenster");
    EXPECT_EQ(trn("%lld window", "%lld windows", 3, 3), "3 Fenster");
    EXPECT_EQ(trn("%lld tab", "%lld tabs", 1, 1), "1 tab");
    EXPECT_EQ(trc("keyboard key", "Enter"), "Eingabe");
    EXPECT_EQ(tr("Enter"), "Enter");
    EXPECT_EQ(trc("keyboard key", "Open"), "Open");
}

TEST(GettextLocalizer, IsEnglishWithoutACatalogueOfTheLanguage) {
    ScopedEnvironment environment;
    environment.set("LANGUAGE", "ja");
    InstalledCatalogue catalogue(QUILLBERN_TEST_CATALOGUES);
    useInterfaceLanguage(std::nullopt);

    EXPECT_EQ(catalogue.localizer().language(), std::nullopt);
    EXPECT_EQ(tr("Open"), "Open");
    EXPECT_EQ(trn("%lld window", "%lld windows", 1, 1), "1 window");
    EXPECT_EQ(trc("keyboard key", "Enter"), "Enter");
}

TEST(GettextLocalizer, AChosenLanguageIsQuillbernsAloneTheProgramsItStartsKeepTheDesktops) {
    ScopedEnvironment environment;
    environment.set("LANGUAGE", "fr:en");
    InstalledCatalogue catalogue(QUILLBERN_TEST_CATALOGUES);
    useInterfaceLanguage("de");

    EXPECT_EQ(tr("Open"), "Öffnen");
    EXPECT_EQ(desktopLanguageList(), "fr:en");
    LinuxProcesses processes;
    const ProcessResult child = processes.run(CommandLine{"/bin/sh", {"-c", "test \"$LANGUAGE\" = fr:en"}, {}}, 5);
    EXPECT_EQ(child.exitStatus, 0);
    EXPECT_EQ(gettextLanguageOf("zh-Hans"), "zh_CN");
}

// gettext follows a catalogue's offsets unchecked, waits on a FIFO and divides as the plural
// rule says: a damaged catalogue is never handed to it.
TEST(InterfaceLanguage, ADamagedCatalogueIsPassedOverOnceLogged) {
    const std::string good = readRegularFile(kGerman, kMaxCatalogueBytes).value();
    const auto with = [&good](std::size_t at, std::string_view bytes) {
        return good.substr(0, at) + std::string(bytes) + good.substr(at + bytes.size());
    };
    const auto word = [&good](std::size_t at) {
        std::uint32_t value = 0;
        std::memcpy(&value, good.data() + at, sizeof value);
        return value;
    };
    const std::string far("\xf0\xff\xff\x7f", 4);
    const std::size_t pluralRule = good.find("(n != 1)");
    ASSERT_NE(pluralRule, std::string::npos);
    EXPECT_TRUE(checkCatalogue(good));
    EXPECT_FALSE(checkCatalogue(good.substr(0, 100))) << "truncated";
    EXPECT_FALSE(checkCatalogue(with(0, "\x12\x34\x56\x78"))) << "magic";
    EXPECT_FALSE(checkCatalogue(with(12, far))) << "table";
    EXPECT_FALSE(checkCatalogue(with(word(16) + 4, far))) << "header's offset";
    EXPECT_FALSE(checkCatalogue(with(word(24), std::string("\xff\0\0\0", 4)))) << "hash entry";
    EXPECT_FALSE(checkCatalogue(with(pluralRule, "(n % 00)"))) << "plural rule";
}
