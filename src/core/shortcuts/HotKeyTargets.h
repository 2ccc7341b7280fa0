#pragma once

#include "core/foundation/FilledByName.h"

namespace quillbern {

class DockController;

// A palette as the shortcuts see it.
class Palette {
public:
    virtual ~Palette() = default;
    // Its panel exists and is on screen.
    virtual bool isShown() const = 0;
    virtual void show() = 0;
    // Does nothing when it is not shown.
    virtual void dismiss() = 0;
};

// Each does nothing for an absent palette.
void dismissPalette(Palette* palette);
// Dismisses a shown palette, else shows it.
void togglePalette(Palette* palette);

class FocusModeSwitch {
public:
    virtual ~FocusModeSwitch() = default;
    virtual bool isActive() const = 0;
    virtual void setActive(bool active) = 0;
};

class WorkspaceToggle {
public:
    virtual ~WorkspaceToggle() = default;
    // Shows or hides the whole workspace.
    virtual void toggle() = 0;
    // At least one application is in it.
    virtual bool hasMembers() const = 0;
};

// What the global shortcuts and the status menu act on. Each may be absent, and what acts
// on it then does nothing.
struct HotKeyTargets {
    [[no_unique_address]] FilledByName<HotKeyTargets> byName{};
    DockController* dock = nullptr;
    Palette* overview = nullptr;
    Palette* appSearch = nullptr;
    Palette* fileSearch = nullptr;
    Palette* shortcutSheet = nullptr;
    FocusModeSwitch* focusMode = nullptr;
    WorkspaceToggle* workspace = nullptr;
};

enum class PaletteCommand { overview, appSearch, fileSearch, shortcutSheet };

// Dismisses the palettes that give way to this one, then dismisses it when it is shown and
// shows it otherwise. The shortcut sheet gives way only to its own command.
void togglePalette(const HotKeyTargets& targets, PaletteCommand command);

}  // namespace quillbern
