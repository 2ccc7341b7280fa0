#include "linux/i18n/InterfaceLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "config/BuildConfig.h"

extern "C" int _nl_msg_cat_cntr;

namespace quillbern {

namespace {

struct DesktopLanguage {
    bool recorded = false;
    std::optional<std::string> list;
};

DesktopLanguage& desktopLanguage() {
    static DesktopLanguage language;
    return language;
}

std::optional<std::string> languageVariable() {
    const char* value = std::getenv("LANGUAGE");
    if (!value) return std::nullopt;
    return std::string(value);
}

}  // namespace

std::string gettextLanguageOf(std::string_view pickerCode) {
    if (pickerCode == "zh-Hans") return "zh_CN";
    std::string language(pickerCode);
    std::replace(language.begin(), language.end(), '-', '_');
    return language;
}

void useInterfaceLanguage(const std::optional<std::string>& chosen) {
    // gettext ignores LANGUAGE while messages are in the C locale, which a bare session
    // often has; C.UTF-8 speaks English just the same and lets LANGUAGE count.
    const std::string_view messages = std::setlocale(LC_MESSAGES, nullptr);
    if (messages == "C" || messages == "POSIX") std::setlocale(LC_MESSAGES, "C.UTF-8");
    desktopLanguage() = {true, languageVariable()};
    if (chosen) setenv("LANGUAGE", gettextLanguageOf(*chosen).c_str(), 1);
    // gettext keeps what it found under the messages locale alone: the count tells it that the
    // languages changed.
    ++_nl_msg_cat_cntr;
}

std::optional<std::string> desktopLanguageList() {
    const DesktopLanguage& desktop = desktopLanguage();
    return desktop.recorded ? desktop.list : languageVariable();
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
