#include <gtest/gtest.h>

#include "config/BuildConfig.h"
#include "linux/process/LinuxAppProcess.h"
#include "support/ScopedEnvironment.h"

using namespace quillbern;

namespace {

using Tags = std::vector<std::string>;

TEST(LinuxAppProcess, ReadsGettextLanguageListsAsLanguageTags) {
    EXPECT_EQ(languageTags("pt_BR.UTF-8:pt:en@quot"), (Tags{"pt-BR", "pt", "en"}));
    EXPECT_EQ(languageTags("zh-Hans"), (Tags{"zh-Hans"}));
    EXPECT_EQ(languageTags("de::de:C:POSIX:C.UTF-8:"), (Tags{"de"}));
    EXPECT_EQ(languageTags(""), Tags{});
}

TEST(LinuxAppProcess, TheLanguageVariableComesBeforeTheRegionsLanguages) {
    ScopedEnvironment environment;
    environment.set("LANGUAGE", "fr_CA:fr");
    const Tags languages = LinuxAppProcess({}).preferredLanguages();
    ASSERT_GE(languages.size(), 2u);
    EXPECT_EQ(languages[0], "fr-CA");
    EXPECT_EQ(languages[1], "fr");
}

TEST(LinuxAppProcess, KernelReleasesGiveThreeNumbers) {
    EXPECT_EQ(osVersionOfRelease("6.1.0-18-amd64"), (OsVersion{6, 1, 0}));
    EXPECT_EQ(osVersionOfRelease("5.15"), (OsVersion{5, 15, 0}));
    EXPECT_EQ(osVersionOfRelease("6.8.12+bpo-amd64"), (OsVersion{6, 8, 12}));
    EXPECT_EQ(osVersionOfRelease("4.19.0.1234"), (OsVersion{4, 19, 0}));
    EXPECT_EQ(osVersionOfRelease("unknown"), (OsVersion{0, 0, 0}));
    // The running kernel names at least its major number.
    EXPECT_GT(LinuxAppProcess({}).osVersion().major, 0);
}

TEST(LinuxAppProcess, TheVersionIsTheProjectsAndTheBuildNumberOnlyAConfiguredOne) {
    const LinuxAppProcess process({});
    EXPECT_EQ(process.version(), std::optional<std::string>(build::kVersion));
    if (build::kBuildNumber.empty()) {
        EXPECT_EQ(process.buildNumber(), std::nullopt);
    }
}

}  // namespace
