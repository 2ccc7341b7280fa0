#pragma once

#include "core/platform/Clipboard.h"

namespace quillbern {

// A clipboard in memory; tests put other content on it as another application would.
class SimClipboard final : public Clipboard {
public:
    void setText(std::string_view text) override {
        text_ = std::string(text);
        ++writes_;
    }
    std::optional<std::string> text() const override { return text_; }

    // Content that is not text, as an image copied elsewhere.
    void holdOtherContent() { text_.reset(); }
    int writeCount() const { return writes_; }

private:
    std::optional<std::string> text_;
    int writes_ = 0;
};

}  // namespace quillbern
