#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/platform/AppProcess.h"

namespace quillbern {

// Facts about our process that tests set; counts the requests to quit and to release memory.
class SimAppProcess final : public AppProcess {
public:
    Pid pid() const override { return pid_; }
    AppId appId() const override { return "quillbern"; }
    Path executablePath() const override { return executablePath_; }
    std::vector<std::string> arguments() const override { return arguments_; }
    std::optional<std::string> version() const override { return version_; }
    std::optional<std::string> buildNumber() const override { return buildNumber_; }
    std::vector<std::string> preferredLanguages() const override { return preferredLanguages_; }
    std::optional<std::string> regionLanguage() const override { return regionLanguage_; }
    OsVersion osVersion() const override { return osVersion_; }
    void quit() override { ++quits_; }
    void releaseFreeMemory() override { ++releases_; }

    void setPid(Pid pid) { pid_ = pid; }
    void setExecutablePath(Path path) { executablePath_ = std::move(path); }
    void setArguments(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }
    void setVersion(std::optional<std::string> version) { version_ = std::move(version); }
    void setBuildNumber(std::optional<std::string> build) { buildNumber_ = std::move(build); }
    void setPreferredLanguages(std::vector<std::string> languages) { preferredLanguages_ = std::move(languages); }
    void setRegionLanguage(std::optional<std::string> language) { regionLanguage_ = std::move(language); }
    void setOsVersion(OsVersion version) { osVersion_ = version; }
    int quitCount() const { return quits_; }
    int releaseCount() const { return releases_; }

private:
    Pid pid_ = 4242;
    Path executablePath_ = "/usr/bin/quillbern";
    std::vector<std::string> arguments_;
    std::optional<std::string> version_ = "2.1";
    std::optional<std::string> buildNumber_ = "57";
    std::vector<std::string> preferredLanguages_{"en"};
    std::optional<std::string> regionLanguage_ = "en";
    OsVersion osVersion_{6, 1, 0};
    int quits_ = 0;
    int releases_ = 0;
};

}  // namespace quillbern
