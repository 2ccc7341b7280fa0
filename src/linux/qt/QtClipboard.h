#pragma once

#include "core/platform/Clipboard.h"

namespace quillbern {

// The X clipboard (not the primary selection) through Qt: the text stays offered while the
// program runs.
class QtClipboard final : public Clipboard {
public:
    void setText(std::string_view text) override;
    std::optional<std::string> text() const override;
};

}  // namespace quillbern
