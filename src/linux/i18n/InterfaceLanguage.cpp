#include "linux/i18n/InterfaceLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

#include "config/BuildConfig.h"
#include "core/foundation/Log.h"
#include "core/model/InterfaceLanguages.h"
#include "linux/i18n/CatalogueCheck.h"
#include "linux/i18n/GettextLocalizer.h"

extern "C" int _nl_msg_cat_cntr;

namespace quillbern {

namespace {

constexpr std::string_view kEnglish = "en";

struct DesktopLanguage {
    bool recorded = false;
    std::optional<std::string> list;
};

DesktopLanguage& desktopLanguage() {
    static DesktopLanguage language;
    return language;
}

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

// The desktop's languages as gettext reads them: the list of `LANGUAGE`, else the locale of
// the first of the variables that is set.
std::string desktopLanguages() {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char* value = std::getenv(name); value && *value) return value;
    }
    return {};
}

// gettext's name of the offered language an entry of a language list names, as gettext would
// find its catalogue: "de_AT.UTF-8@euro" names "de", "zh_CN.GB2312" "zh_CN", "C" English, and
// "zh_TW" none.
std::optional<std::string> offeredLanguageOf(std::string_view entry) {
    const std::string_view name = entry.substr(0, entry.find_first_of(".@"));
    if (name == "C" || name == "POSIX") return std::string(kEnglish);
    static const std::vector<std::string> offered = [] {
        std::vector<std::string> names;
        for (const InterfaceLanguage& language : kInterfaceLanguages)
            names.push_back(gettextLanguageOf(language.code));
        return names;
    }();
    const std::string_view language = name.substr(0, name.find('_'));
    for (const std::string& gettextName : offered) {
        if (name == gettextName || language == gettextName) return gettextName;
    }
    return std::nullopt;
}

// The offered languages `list` names, in its order, each once, up to English.
std::vector<std::string> offeredLanguagesIn(std::string_view list) {
    std::vector<std::string> languages;
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(':', start), list.size());
        const std::optional<std::string> language = offeredLanguageOf(list.substr(start, end - start));
        start = end + 1;
        if (!language || std::ranges::find(languages, *language) != languages.end()) continue;
        languages.push_back(*language);
        if (languages.back() == kEnglish) break;
    }
    return languages;
}

// Whether the catalogues of `language` can be handed to gettext: its own, and every other
// gettext reads a text from that its own lacks ("zh" for "zh_CN"), each sound or missing. A
// damaged one is logged, a missing one is simply not there.
bool hasSoundCatalogues(const std::string& folder, const std::string& language) {
    bool hasOwn = false;
    for (const std::string& name : catalogueFoldersOf(language)) {
        const std::filesystem::path file =
            std::filesystem::path(folder) / name / "LC_MESSAGES" / (std::string(GettextLocalizer::kDomain) + ".mo");
        const Result<void> checked = checkCatalogueFile(file);
        if (checked.ok()) {
            hasOwn = hasOwn || name == language;
        } else if (!(checked.error().domain == "errno" && checked.error().code == ENOENT)) {
            log("the catalogue ", escapedForLog(file.string()), " is not used (", checked.error().message,
                "); reinstall Quillbern to mend it");
            return false;
        }
    }
    return hasOwn;
}

}  // namespace

std::string gettextLanguageOf(std::string_view pickerCode) {
    if (pickerCode == "zh-Hans") return "zh_CN";
    std::string language(pickerCode);
    std::replace(language.begin(), language.end(), '-', '_');
    return language;
}

std::optional<std::string> settleInterfaceLanguage(const std::optional<std::string>& chosen,
                                                   const std::string& catalogueFolder) {
    desktopLanguage() = {true, variable("LANGUAGE")};
    const std::vector<std::string> wanted =
        chosen ? std::vector<std::string>{gettextLanguageOf(*chosen)} : offeredLanguagesIn(desktopLanguages());
    std::optional<std::string> settled;
    for (const std::string& language : wanted) {
        if (language == kEnglish) break;
        if (hasSoundCatalogues(catalogueFolder, language)) {
            settled = language;
            break;
        }
    }
    setenv("LANGUAGE", settled.value_or(std::string(kEnglish)).c_str(), 1);
    // gettext keeps what it found under the messages locale alone: the count tells it that the
    // languages changed.
    ++_nl_msg_cat_cntr;
    return settled;
}

std::optional<std::string> desktopLanguageList() {
    const DesktopLanguage& desktop = desktopLanguage();
    return desktop.recorded ? desktop.list : variable("LANGUAGE");
}

std::string catalogueFolder() {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
    const fs::path buildTree(build::kBuildTree);
    if (fs::equivalent(folder, buildTree, error)) return (buildTree / "locale").string();
    return (folder / build::kCataloguesFromProgram).lexically_normal().string();
}

void installQtTranslations(std::string_view language) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_") + QString::fromUtf8(language.data(), qsizetype(language.size())),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
}

}  // namespace quillbern
