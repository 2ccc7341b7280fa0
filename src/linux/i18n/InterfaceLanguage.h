#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillbern {

// The code of the language picker as gettext names the language: "zh-Hans" is "zh_CN".
std::string gettextLanguageOf(std::string_view pickerCode);

// Settles the language the interface speaks: `chosen` (a code of the language picker), else
// the first of the desktop's languages that the picker offers, those of `LANGUAGE` or else
// the one of the first of `LC_ALL`, `LC_MESSAGES` and `LANG` that is set, whether or not that
// locale is installed. A language counts where `catalogueFolder` holds a sound catalogue of it
// (`checkCatalogueFile`) and no damaged one gettext falls back on for it (`catalogueFoldersOf`:
// "zh" for "zh_CN"); a damaged one is logged and the language passed over. Gives gettext's name of it
// ("de", "zh_CN"), none for English, and makes it the process's `LANGUAGE`, so that gettext
// never reads a long or hostile list of the desktop's. Once, before any thread starts, since
// it sets the environment.
std::optional<std::string> settleInterfaceLanguage(const std::optional<std::string>& chosen,
                                                   const std::string& catalogueFolder);

// `LANGUAGE` as the desktop set it (none: unset): what the programs we start get, since the
// language settled for Quillbern is ours alone.
std::optional<std::string> desktopLanguageList();

// The folder of the catalogues: the build tree's own for a program run from it, else the one
// installed beside the program's prefix.
std::string catalogueFolder();

// Qt's own texts (the standard buttons, a text field's menu) in `language` ("de", "zh_CN"),
// where Qt has them.
void installQtTranslations(std::string_view language);

}  // namespace quillbern
