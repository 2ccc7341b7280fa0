#include "core/shell/AutomationExecutor.h"

#include <optional>
#include <utility>

#include "core/foundation/Localization.h"
#include "core/foundation/Log.h"
#include "core/shell/UrlForLog.h"

namespace quillbern {

AutomationExecutor::AutomationExecutor(PinnedStore& pinned, DockPreferences& preferences, HotKeyTargets targets)
    : pinned_(pinned), preferences_(preferences), targets_(targets) {}

void AutomationExecutor::execute(const std::vector<std::string>& urls) {
    for (const std::string& url : urls)
        execute(url);
}

void AutomationExecutor::execute(const std::string& url) {
    const std::optional<UrlCommand> command = UrlCommand::parse(url);
    if (!command) {
        const std::string shown = urlForLog(url);
        log("unrecognised automation URL ", shown, "; the README lists the URLs Quillbern understands");
        fail(trf("Quillbern did not recognise this automation URL: %@", shown));
        return;
    }
    using Kind = UrlCommand::Kind;
    switch (command->kind) {
        case Kind::profile:
            showOrHideDock(*command);
            break;
        case Kind::focus:
            if (FocusModeSwitch* focus = targets_.focusMode) {
                switch (command->focusAction) {
                    case UrlCommand::FocusAction::on:
                        focus->setActive(true);
                        break;
                    case UrlCommand::FocusAction::off:
                        focus->setActive(false);
                        break;
                    case UrlCommand::FocusAction::toggle:
                        focus->setActive(!focus->isActive());
                        break;
                }
            }
            break;
        // Unlike a shortcut, the search and files URLs leave the shortcut sheet open.
        case Kind::overview:
            dismissPalette(targets_.appSearch);
            dismissPalette(targets_.fileSearch);
            dismissPalette(targets_.shortcutSheet);
            togglePalette(targets_.overview);
            break;
        case Kind::shortcuts:
            dismissPalette(targets_.overview);
            dismissPalette(targets_.appSearch);
            dismissPalette(targets_.fileSearch);
            togglePalette(targets_.shortcutSheet);
            break;
        case Kind::search:
            dismissPalette(targets_.overview);
            dismissPalette(targets_.fileSearch);
            togglePalette(targets_.appSearch);
            break;
        case Kind::files:
            dismissPalette(targets_.overview);
            dismissPalette(targets_.appSearch);
            togglePalette(targets_.fileSearch);
            break;
    }
}

void AutomationExecutor::showOrHideDock(const UrlCommand& command) {
    const std::optional<Profile> dock = pinned_.resolveProfile(command.dock);
    if (!dock) {
        log("an automation URL named no dock: ", urlPieceForLog(command.dock),
            "; name a dock by its identifier, its position in the list from 1, or its name");
        fail(
            trf("An automation asked for the dock “%@”, which no longer exists. If you renamed it, update the "
                "automation — or use the dock's permanent address, copied from the Docks tab.",
                command.dock));
        return;
    }
    // The same words for hiding: the switch stands above every automation.
    if (!dock->isEnabled) {
        fail(
            trf("An automation asked to show the dock “%@”, but it is disabled in Settings → Docks. Enable it "
                "there first — a shortcut can't overrule that switch.",
                dock->name));
        return;
    }
    bool visible = !dock->isVisible;
    if (command.dockAction == UrlCommand::DockAction::show) visible = true;
    if (command.dockAction == UrlCommand::DockAction::hide) visible = false;
    pinned_.setVisible(dock->id, visible);
}

void AutomationExecutor::fail(std::string message) {
    preferences_.setLastAutomationFailure(std::move(message));
}

}  // namespace quillbern
