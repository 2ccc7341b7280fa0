#pragma once

#include "core/platform/PanelHost.h"

class QWidget;

namespace quillbern {

// The view that shows a panel's content, made (or, for a palette, taken over) as a child
// of `parent`; null for a plain fill, which the panel paints itself.
QWidget* makeContentView(const PanelContent& content, QWidget* parent);

}  // namespace quillbern
