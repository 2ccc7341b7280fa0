#pragma once

#include <string>
#include <vector>

#include "core/platform/AppProcess.h"

namespace quillbern {

// Fixed facts about our process; counts the requests to quit.
class SimAppProcess final : public AppProcess {
public:
    Pid pid() const override { return pid_; }
    AppId appId() const override { return "quillbern"; }
    Path executablePath() const override { return executablePath_; }
    std::vector<std::string> arguments() const override { return arguments_; }
    void quit() override { ++quits_; }

    void setPid(Pid pid) { pid_ = pid; }
    void setExecutablePath(Path path) { executablePath_ = std::move(path); }
    void setArguments(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }
    int quitCount() const { return quits_; }

private:
    Pid pid_ = 4242;
    Path executablePath_ = "/usr/bin/quillbern";
    std::vector<std::string> arguments_;
    int quits_ = 0;
};

}  // namespace quillbern
