#pragma once

namespace quillbern {

// Without a session bus address, libdbus (under QtDBus) and GDBus (under GIO) each start a
// bus of their own the first time one is asked for, running `dbus-launch --autolaunch` as a
// child of this program. Where the variable is unset and the runtime directory holds no user
// bus (which both find by themselves), this sets the address "disabled:", which neither can
// open: the program goes on without a bus, as it does when a bus goes away. Once, before Qt
// or GLib read the environment and before any thread starts.
void keepSessionBusFromAutolaunching();

// Whether the process's session bus address is the one set above: the programs we start get
// the environment without it, as the desktop gave it.
bool sessionBusAddressIsOurs();

}  // namespace quillbern
