#include "core/tiles/AppTile.h"

#include "core/foundation/Localization.h"

namespace quillbern {

namespace {

constexpr double kRunningDotOpacity = 0.55;
constexpr double kMissingIconOpacity = 0.4;

}  // namespace

std::string appTileToolTip(const AppTileState& state) {
    return state.isInstalled ? state.name : trf("%@ — not found", state.name);
}

std::string appTileAccessibilityLabel(const AppTileState& state) {
    return state.isInstalled ? state.name : trf("%@, not found", state.name);
}

std::string appTileAccessibilityValue(const AppTileState& state) {
    if (!state.showsDot) return {};
    // TRANSLATORS: what a screen reader says of an application's dock tile: the application is
    // the one in front, or only running.
    return state.isFocusedApp ? tr("frontmost") : tr("running");
}

double appTileDotOpacity(const AppTileState& state) {
    if (!state.showsDot) return 0;
    return state.isFocusedApp ? 1 : kRunningDotOpacity;
}

double appTileIconOpacity(const AppTileState& state) {
    return state.isInstalled ? 1 : kMissingIconOpacity;
}

}  // namespace quillbern
