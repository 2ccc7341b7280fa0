#pragma once

#include <map>
#include <optional>
#include <vector>

#include "core/platform/RunningApps.h"
#include "linux/x11/X11ClientTable.h"

namespace quillbern {

// The processes that own application windows at one reading of the client table.
struct AppPresence {
    std::map<Pid, ActivationPolicy> pids;
    // The owner of the active window, when it is one of them.
    std::optional<Pid> active;
    bool operator==(const AppPresence&) const = default;
};

// Our own process, windowless clients and docks, panels and the desktop own no
// application; one with an ordinary window is a regular application, others accessories.
AppPresence presenceOf(const ClientTable& table, Pid ownPid);

struct AppChanges {
    std::vector<Pid> launched;
    std::vector<Pid> terminated;
    // The application that became active; none when the active one stayed or none is.
    std::optional<Pid> activated;
    bool operator==(const AppChanges&) const = default;
};

AppChanges appChanges(const AppPresence& before, const AppPresence& after);

// Gives each known application the policy of its process in `presence`; a process not
// known yet is left for its identification. True when a policy changed.
bool applyPolicies(std::map<Pid, RunningApp>& apps, const AppPresence& presence);

// The window that brings the application forward: the most recently active of its
// windows that is not minimised, else its front-most unminimised one, else its most
// recently active one (which activating restores). `recentlyActive` is newest first.
const ClientFacts* bestWindow(const ClientTable& table, Pid pid, const std::vector<xcb_window_t>& recentlyActive);

// Puts the table's active window at the front of the history and drops the windows
// that are no longer listed.
void noteActiveWindow(std::vector<xcb_window_t>& recentlyActive, const ClientTable& table);

}  // namespace quillbern
