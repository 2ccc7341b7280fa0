#pragma once

#include <functional>
#include <string>

#include "core/platform/MenuModel.h"
#include "core/platform/Types.h"

namespace quillbern {

// What an application tile shows at one moment, pinned or running.
struct AppTileState {
    std::string name;
    // Null draws the placeholder symbol.
    ImageHandle icon;
    // False fades the icon and says "not found".
    bool isInstalled = true;
    // The application runs: its dot shows.
    bool showsDot = false;
    // It is the frontmost application: its dot shows at full strength.
    bool isFocusedApp = false;
    // A dock started it and it has not arrived yet: the icon bounces.
    bool isLaunching = false;
    bool operator==(const AppTileState&) const = default;
};

// One application tile as one change of the stores built it: what it shows and what it
// does. The actions act on the values of that change, not on later ones.
struct AppTile {
    AppTileState state;
    // A click.
    Task activate;
    // The pointer came onto the tile (true) or left it.
    std::function<void(bool)> hover;
    // Built when the menu opens.
    std::function<MenuModel()> menu;
};

// The name, followed by " — not found" for an application that is not installed.
std::string appTileToolTip(const AppTileState& state);
// The name, followed by ", not found" for an application that is not installed.
std::string appTileAccessibilityLabel(const AppTileState& state);
// "frontmost" or "running" while the dot shows; empty otherwise.
std::string appTileAccessibilityValue(const AppTileState& state);
// The dot's opacity: none, subdued while running, full while frontmost.
double appTileDotOpacity(const AppTileState& state);
// The icon of an application that is not installed is faded.
double appTileIconOpacity(const AppTileState& state);

}  // namespace quillbern
