#include "core/windows/AXPermission.h"

#include "core/foundation/Log.h"

namespace quillbern {

AXPermission::AXPermission(Permissions& permissions, Processes& processes, Launcher& launcher)
    : permissions_(permissions), processes_(processes), launcher_(launcher) {}

bool AXPermission::promptRepairingStaleEntry() {
    // A trusted program sees no prompt; nothing to repair.
    if (permissions_.isWindowAccessTrusted()) return permissions_.requestWindowAccess();
    // Only a signed release that the session started has an entry worth resetting;
    // development copies are prompted without one.
    if (const auto command = permissions_.staleEntryResetCommand()) resetStaleEntry(*command);
    if (permissions_.requestWindowAccess()) return true;
    launcher_.openSystemSettings(SystemSettingsPage::windowAccessPrivacy);
    return false;
}

void AXPermission::resetStaleEntry(const CommandLine& command) {
    // Every outcome is only logged: the prompt follows regardless.
    const ProcessResult result = processes_.run(command, kResetTimeLimit);
    const std::string program = escapedForLog(command.program);
    if (!result.launched) {
        log("could not run the permission reset ", program, ": ",
            escapedForLog(result.error ? result.error->message : "unknown error"));
    } else if (result.timedOut) {
        log("the permission reset ", program, " was still running after 2 s — killed, prompting anyway");
    } else if (result.exitStatus.value_or(0) != 0) {
        log("the permission reset ", program, " exited with status ", *result.exitStatus);
    }
}

}  // namespace quillbern
