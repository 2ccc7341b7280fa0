#pragma once

#include <functional>

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
    void quit() override;

private:
    std::function<void()> quit_;
};

}  // namespace quillbern
