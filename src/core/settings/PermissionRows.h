#pragma once

namespace quillbern {

class PreviewStore;
class WindowEngine;

// The Hover previews pane warns that capture access is missing only while previews are on:
// turning them off takes the warning away whatever the grant.
bool showsCaptureWarning(const PreviewStore& previews);

// What the Permissions pane's window access row shows.
enum class WindowAccessRow { granted, allowButton };
WindowAccessRow windowAccessRow(const WindowEngine& engine);

}  // namespace quillbern
