#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillbern {

// The desktop's clipboard, for text the user copies with a button.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Replaces whatever the clipboard held with this plain text.
    virtual void setText(std::string_view text) = 0;
    // The clipboard's plain text; none when it holds no text.
    virtual std::optional<std::string> text() const = 0;
};

}  // namespace quillbern
