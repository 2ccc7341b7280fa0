#include "linux/dbus/SessionBusAutolaunch.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace quillbern {

namespace {

constexpr const char* kVariable = "DBUS_SESSION_BUS_ADDRESS";

bool& addressIsOurs() {
    static bool ours = false;
    return ours;
}

// The user bus both libraries look for before they start one: $XDG_RUNTIME_DIR/bus.
bool runtimeDirectoryHoldsABus() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime) return false;
    struct stat facts {};
    return ::stat((std::string(runtime) + "/bus").c_str(), &facts) == 0 && S_ISSOCK(facts.st_mode);
}

}  // namespace

void keepSessionBusFromAutolaunching() {
    if (std::getenv(kVariable) || runtimeDirectoryHoldsABus()) return;
    ::setenv(kVariable, "disabled:", 1);
    addressIsOurs() = true;
}

bool sessionBusAddressIsOurs() {
    return addressIsOurs();
}

}  // namespace quillbern
