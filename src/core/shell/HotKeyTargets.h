#pragma once

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
};

// What the global shortcuts act on. Each may be absent, and its shortcuts then do nothing.
struct HotKeyTargets {
    DockController* dock = nullptr;
    Palette* overview = nullptr;
    Palette* appSearch = nullptr;
    Palette* fileSearch = nullptr;
    Palette* shortcutSheet = nullptr;
    FocusModeSwitch* focusMode = nullptr;
    WorkspaceToggle* workspace = nullptr;
};

}  // namespace quillbern
