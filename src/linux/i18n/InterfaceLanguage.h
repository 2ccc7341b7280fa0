#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillbern {

// The code of the language picker as gettext names the language: "zh-Hans" is "zh_CN".
std::string gettextLanguageOf(std::string_view pickerCode);

// Makes gettext speak `chosen` (a code of the language picker) or, without one, the
// desktop's language (`LANGUAGE`, else the messages locale). Once, on the main thread,
// after Qt made its application (which sets the locale) and before any text is made.
void useInterfaceLanguage(const std::optional<std::string>& chosen);

// `LANGUAGE` as the desktop set it (none: unset): what the programs we start get, since a
// language chosen for Quillbern is ours alone.
std::optional<std::string> desktopLanguageList();

// The folder of the catalogues: the build tree's own for a program run from it, else the one
// installed beside the program's prefix.
std::string catalogueFolder();

// Qt's own texts (the standard buttons, a text field's menu) in `language` ("de", "zh_CN"),
// where Qt has them.
void installQtTranslations(std::string_view language);

}  // namespace quillbern
