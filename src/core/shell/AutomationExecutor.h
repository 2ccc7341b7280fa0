#pragma once

#include <string>
#include <vector>

#include "core/model/DockPreferences.h"
#include "core/model/PinnedStore.h"
#include "core/shell/UrlCommand.h"
#include "core/shortcuts/HotKeyTargets.h"

namespace quillbern {

// Carries out automation URLs on the docks, focus mode and the palettes. A URL that cannot
// be carried out (not understood, naming no dock, or naming a switched-off dock) leaves
// its message in the preferences' last automation failure for Settings; the first two are
// logged too. Nothing is reported to the program that opened the URL. An absent palette
// or focus mode makes its URLs do nothing. Main thread.
class AutomationExecutor {
public:
    // `targets`: the palettes and focus mode, as the shortcuts reach them once all exist.
    AutomationExecutor(PinnedStore& pinned, DockPreferences& preferences, HotKeyTargets targets);
    AutomationExecutor(const AutomationExecutor&) = delete;
    AutomationExecutor& operator=(const AutomationExecutor&) = delete;

    // One after another; a failed one does not stop the rest.
    void execute(const std::vector<std::string>& urls);

private:
    void execute(const std::string& url);
    void showOrHideDock(const UrlCommand& command);
    void fail(std::string message);

    PinnedStore& pinned_;
    DockPreferences& preferences_;
    const HotKeyTargets targets_;
};

}  // namespace quillbern
