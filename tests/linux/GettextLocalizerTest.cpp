#include <clocale>
#include <gtest/gtest.h>
#include <string>

#include "core/foundation/Localization.h"
#include "core/platform/Processes.h"
#include "linux/i18n/GettextLocalizer.h"
#include "linux/i18n/InterfaceLanguage.h"
#include "linux/process/LinuxProcesses.h"
#include "support/InstalledCatalogue.h"
#include "support/ScopedEnvironment.h"

using namespace quillbern;

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
