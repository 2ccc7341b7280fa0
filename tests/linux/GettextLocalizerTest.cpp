#include <clocale>
#include <gtest/gtest.h>
#include <string>

#include "core/foundation/Localization.h"
#include "core/platform/Processes.h"
#include "linux/i18n/GettextLocalizer.h"
#include "linux/i18n/InterfaceLanguage.h"
#include "linux/process/LinuxProcesses.h"
#include "support/ScopedEnvironment.h"

using namespace quillbern;

namespace {

// The catalogue of the tests (a German one) installed, in the environment a test sets up;
// the messages locale and the catalogue put back afterwards.
class InstalledCatalogue {
public:
    InstalledCatalogue() : messages_(std::setlocale(LC_MESSAGES, nullptr)), previous_(setLocalizer(&localizer_)) {}
    ~InstalledCatalogue() {
        setLocalizer(previous_);
        std::setlocale(LC_MESSAGES, messages_.c_str());
    }
    const GettextLocalizer& localizer() const { return localizer_; }

private:
    std::string messages_;
    GettextLocalizer localizer_{QUILLBERN_TEST_CATALOGUES};
    Localizer* previous_;
};

}  // namespace

TEST(GettextLocalizer, SpeaksTheLanguageOfLanguageEvenInTheCLocale) {
    ScopedEnvironment environment;
    environment.set("LANGUAGE", "ja:de");
    InstalledCatalogue catalogue;
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
    InstalledCatalogue catalogue;
    useInterfaceLanguage(std::nullopt);

    EXPECT_EQ(catalogue.localizer().language(), std::nullopt);
    EXPECT_EQ(tr("Open"), "Open");
    EXPECT_EQ(trn("%lld window", "%lld windows", 1, 1), "1 window");
    EXPECT_EQ(trc("keyboard key", "Enter"), "Enter");
}

TEST(GettextLocalizer, AChosenLanguageIsQuillbernsAloneTheProgramsItStartsKeepTheDesktops) {
    ScopedEnvironment environment;
    environment.set("LANGUAGE", "fr:en");
    InstalledCatalogue catalogue;
    useInterfaceLanguage("de");

    EXPECT_EQ(tr("Open"), "Öffnen");
    EXPECT_EQ(desktopLanguageList(), "fr:en");
    LinuxProcesses processes;
    const ProcessResult child = processes.run(CommandLine{"/bin/sh", {"-c", "test \"$LANGUAGE\" = fr:en"}, {}}, 5);
    EXPECT_EQ(child.exitStatus, 0);
    EXPECT_EQ(gettextLanguageOf("zh-Hans"), "zh_CN");
}
