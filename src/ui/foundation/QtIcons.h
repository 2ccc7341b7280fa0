#pragma once

#include <QIcon>

#include "core/platform/Icons.h"

namespace quillbern {

// Application icons from their desktop entries, through the icon theme.
class QtIcons final : public Icons {
public:
    ImageHandle appIcon(const Path& appPath) const override;
};

// The QIcon behind an image of QtIcons; a null icon for anything else.
QIcon qIcon(const ImageHandle& image);

}  // namespace quillbern
