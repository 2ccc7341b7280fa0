#pragma once

#include <string_view>

namespace quillbern {

// The types of our own drags inside the program. Their data is never read: the dock store's
// drag says what is being dragged. Other programs see the types too, since X11 drags cannot
// keep a type to one process; no one else takes them.

// A pinned tile, dragged in a dock or in the dock editor; its data is the item's stable
// identifier.
inline constexpr std::string_view kPinnedItemDragType = "com.velmorquist.dockapp.dragtoken";
// A dock's row in Settings, dragged to reorder the docks; its data is the dock's identifier.
inline constexpr std::string_view kDockRowDragType = "com.velmorquist.dockapp.profiletoken";

}  // namespace quillbern
