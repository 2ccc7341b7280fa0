#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/AppProcess.h"

namespace quillbern {

// Our process as the kernel describes it; quitting is left to whoever runs the event loop.
class LinuxAppProcess final : public AppProcess {
public:
    explicit LinuxAppProcess(std::function<void()> quit) : quit_(std::move(quit)) {}

    Pid pid() const override;
    // The id of the desktop entry the program installs.
    AppId appId() const override { return "quillbern"; }
    // The running program's file; after an upgrade replaced it, the file now at that path.
    Path executablePath() const override;
    std::vector<std::string> arguments() const override;
    // This build's: the project's version, and the number given when it was configured.
    std::optional<std::string> version() const override;
    std::optional<std::string> buildNumber() const override;
    // `LANGUAGE` first, as gettext reads it (the relaunch for another interface language
    // sets it), then the languages of the user's region settings.
    std::vector<std::string> preferredLanguages() const override;
    std::optional<std::string> regionLanguage() const override;
    // The kernel's release.
    OsVersion osVersion() const override;
    void quit() override;
    void releaseFreeMemory() override;

private:
    std::function<void()> quit_;
};

// The languages of a gettext language list as BCP 47 tags: "pt_BR.UTF-8:en@quot" gives
// "pt-BR" and "en"; "C", "POSIX" and empty entries are no language.
std::vector<std::string> languageTags(std::string_view languageList);
// The leading numbers of a kernel release: "6.1.0-18-amd64" is 6.1.0, "5.15" is 5.15.0.
OsVersion osVersionOfRelease(std::string_view release);

}  // namespace quillbern
