#pragma once

#include <memory>

#include "app/Platform.h"

namespace quillbern {

class QtRunLoop;
class JsonFileDefaults;
class IcuTextServices;
class QtAlerts;
class LinuxSystemAppearance;

// Owns the real backends of the ports on a Linux desktop; lives for the whole run.
class LinuxPlatform {
public:
    LinuxPlatform();
    ~LinuxPlatform();
    LinuxPlatform(const LinuxPlatform&) = delete;
    LinuxPlatform& operator=(const LinuxPlatform&) = delete;

    Platform& ports() { return *ports_; }

private:
    SystemClock clock_;
    RandomUuidSource uuids_;
    std::unique_ptr<QtRunLoop> mainLoop_;
    std::unique_ptr<JsonFileDefaults> defaults_;
    std::unique_ptr<IcuTextServices> text_;
    std::unique_ptr<QtAlerts> alerts_;
    std::unique_ptr<LinuxSystemAppearance> appearance_;
    std::unique_ptr<Platform> ports_;
};

}  // namespace quillbern
