#pragma once

#include <QIcon>

#include "core/model/PinnedItem.h"

namespace quillbern {

// The icon a pinned item shows: an application's from its desktop entry's Icon= name in
// the icon theme, a folder's or the Trash's from the theme; null when the theme has none.
QIcon itemIcon(const PinnedItem& item);

}  // namespace quillbern
