#include <fcntl.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "core/foundation/Localization.h"
#include "core/foundation/RegularFile.h"
#include "core/platform/Processes.h"
#include "linux/i18n/CatalogueCheck.h"
#include "linux/i18n/GettextLocalizer.h"
#include "linux/i18n/InterfaceLanguage.h"
#include "linux/process/LinuxProcesses.h"
#include "sim/SimLog.h"
#include "support/InstalledCatalogue.h"
#include "support/ScopedEnvironment.h"

using namespace quillbern;

namespace fs = std::filesystem;

namespace {

const fs::path kGerman = fs::path(QUILLBERN_TEST_CATALOGUES) / "de" / "LC_MESSAGES" / "quillbern.mo";

// The desktop with only these of its language variables set.
void useDesktopLanguages(ScopedEnvironment& environment, std::optional<std::string> language,
                         std::optional<std::string> all, std::optional<std::string> messages,
                         std::optional<std::string> lang) {
    environment.set("LANGUAGE", language);
    environment.set("LC_ALL", all);
    environment.set("LC_MESSAGES", messages);
    environment.set("LANG", lang);
}

}  // namespace

TEST(GettextLocalizer, SpeaksTheLanguageOfLanguageEvenInTheCLocale) {
    ScopedEnvironment environment;
    environment.set("LANGUAGE", "ja:de");
    const std::string messages = std::setlocale(LC_MESSAGES, nullptr);
    std::setlocale(LC_MESSAGES, "C");
    {
        InstalledCatalogue catalogue(QUILLBERN_TEST_CATALOGUES);

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
    std::setlocale(LC_MESSAGES, messages.c_str());
}

TEST(GettextLocalizer, IsEnglishWithoutACatalogueOfTheLanguage) {
    ScopedEnvironment environment;
    environment.set("LANGUAGE", "ja");
    InstalledCatalogue catalogue(QUILLBERN_TEST_CATALOGUES);

    EXPECT_EQ(catalogue.localizer().language(), std::nullopt);
    EXPECT_EQ(tr("Open"), "Open");
    EXPECT_EQ(trn("%lld window", "%lld windows", 1, 1), "1 window");
    EXPECT_EQ(trc("keyboard key", "Enter"), "Enter");
}

TEST(GettextLocalizer, AChosenLanguageIsQuillbernsAloneTheProgramsItStartsKeepTheDesktops) {
    ScopedEnvironment environment;
    environment.set("LANGUAGE", "fr:en");
    InstalledCatalogue catalogue(QUILLBERN_TEST_CATALOGUES, "de");

    EXPECT_EQ(tr("Open"), "Öffnen");
    EXPECT_EQ(desktopLanguageList(), "fr:en");
    LinuxProcesses processes;
    const ProcessResult child = processes.run(CommandLine{"/bin/sh", {"-c", "test \"$LANGUAGE\" = fr:en"}, {}}, 5);
    EXPECT_EQ(child.exitStatus, 0);
    EXPECT_EQ(gettextLanguageOf("zh-Hans"), "zh_CN");
}

// As gettext reads them: LANGUAGE, else the first of LC_ALL, LC_MESSAGES and LANG that is set,
// though the test machines have no German locale installed.
TEST(InterfaceLanguage, FollowsTheDesktopsLocaleVariablesWhetherOrNotTheLocaleIsInstalled) {
    ScopedEnvironment environment;
    const auto speaks = [] { return InstalledCatalogue(QUILLBERN_TEST_CATALOGUES).localizer().language(); };
    useDesktopLanguages(environment, std::nullopt, std::nullopt, std::nullopt, "de_DE.UTF-8");
    EXPECT_EQ(speaks(), "de");
    useDesktopLanguages(environment, "", std::nullopt, "fr_FR.UTF-8", "de_DE.UTF-8");
    EXPECT_EQ(speaks(), std::nullopt) << "French, which the test catalogues lack, comes first";
    useDesktopLanguages(environment, std::nullopt, "de_AT.UTF-8@euro", "fr_FR.UTF-8", std::nullopt);
    EXPECT_EQ(speaks(), "de");
    useDesktopLanguages(environment, "en_GB:de", std::nullopt, std::nullopt, "de_DE.UTF-8");
    EXPECT_EQ(speaks(), std::nullopt) << "English, first, needs no catalogue";

    useDesktopLanguages(environment, std::nullopt, std::nullopt, std::nullopt, "de_CH.UTF-8");
    InstalledCatalogue catalogue(QUILLBERN_TEST_CATALOGUES);
    EXPECT_EQ(tr("Open"), "Öffnen");
}

// gettext reads every entry of LANGUAGE for every text, and a path among them as a folder of
// catalogues: it is told the one language settled.
TEST(InterfaceLanguage, OfTheDesktopsListOnlyAnOfferedLanguageReachesGettext) {
    ScopedEnvironment environment;
    std::string list;
    for (int i = 0; i < 15000; ++i)
        list += "x" + std::to_string(i) + "_YY:";
    list += "../../../../tmp:zh_TW:de_CH.UTF-8";
    environment.set("LANGUAGE", list);
    InstalledCatalogue catalogue(QUILLBERN_TEST_CATALOGUES);

    EXPECT_STREQ(std::getenv("LANGUAGE"), "de");
    EXPECT_EQ(tr("Open"), "Öffnen");
    EXPECT_EQ(desktopLanguageList(), list);
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

    const fs::path folder = fs::temp_directory_path() / ("quillbern-catalogues-\x1b[31m" + std::to_string(::getpid()));
    fs::create_directories(folder / "de" / "LC_MESSAGES");
    fs::create_directories(folder / "ja" / "LC_MESSAGES");
    const fs::path fifo = folder / "ja" / "LC_MESSAGES" / "quillbern.mo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Open at both ends, so that reading it fails the test instead of waiting in `open`.
    const int bothEnds = ::open(fifo.c_str(), O_RDWR | O_CLOEXEC);
    const fs::path truncated = folder / "de" / "LC_MESSAGES" / "quillbern.mo";
    fs::copy_file(kGerman, truncated);
    fs::resize_file(truncated, 100);
    ScopedEnvironment environment;
    environment.set("LANGUAGE", "ja:de:ja:de");
    SimLog log;
    {
        InstalledCatalogue catalogue(folder.string());
        EXPECT_EQ(catalogue.localizer().language(), std::nullopt);
        EXPECT_EQ(tr("Open"), "Open");
    }
    ::close(bothEnds);
    fs::remove_all(folder);
    EXPECT_EQ(log.count("is not used"), 2);
    EXPECT_EQ(log.count("\\x1b[31m"), 2);
    EXPECT_EQ(log.count("\x1b"), 0);
}

// gettext reads a text "zh_CN" lacks from the catalogue of "zh": a damaged one there is not
// handed to it either.
TEST(InterfaceLanguage, ADamagedCatalogueGettextFallsBackOnPassesTheLanguageOver) {
    EXPECT_EQ(catalogueFoldersOf("zh_CN"), (std::vector<std::string>{"zh_CN", "zh"}));
    EXPECT_EQ(
        catalogueFoldersOf("de_AT.UTF-8@euro"),
        (std::vector<std::string>{"de_AT.UTF-8@euro", "de_AT.utf8@euro", "de_AT@euro", "de.UTF-8@euro", "de.utf8@euro",
                                  "de@euro", "de_AT.UTF-8", "de_AT.utf8", "de_AT", "de.UTF-8", "de.utf8", "de"}));
    EXPECT_EQ(catalogueFoldersOf("ja.88591"), (std::vector<std::string>{"ja.88591", "ja.iso88591", "ja"}));

    const fs::path folder = fs::temp_directory_path() / ("quillbern-fallback-" + std::to_string(::getpid()));
    fs::create_directories(folder / "zh_CN" / "LC_MESSAGES");
    fs::create_directories(folder / "zh" / "LC_MESSAGES");
    fs::copy_file(kGerman, folder / "zh_CN" / "LC_MESSAGES" / "quillbern.mo");
    const fs::path fallback = folder / "zh" / "LC_MESSAGES" / "quillbern.mo";
    fs::copy_file(kGerman, fallback);
    fs::resize_file(fallback, 100);
    ScopedEnvironment environment;
    environment.set("LANGUAGE", "zh_CN");
    SimLog log;
    {
        InstalledCatalogue catalogue(folder.string());
        EXPECT_EQ(catalogue.localizer().language(), std::nullopt);
        EXPECT_EQ(tr("Open"), "Open");
    }
    fs::remove(fallback);
    environment.set("LANGUAGE", "zh_CN");
    EXPECT_EQ(InstalledCatalogue(folder.string()).localizer().language(), "zh_CN") << "a missing one is no harm";
    fs::remove_all(folder);
    EXPECT_EQ(log.count("/zh/LC_MESSAGES/quillbern.mo is not used"), 1);
}
