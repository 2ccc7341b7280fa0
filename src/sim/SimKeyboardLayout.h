#pragma once

#include <map>

#include "core/platform/KeyboardLayout.h"

namespace quillbern {

// A US or a French (AZERTY) keyboard, or none at all; a test may also say what one key
// types.
class SimKeyboardLayout final : public KeyboardLayout {
public:
    enum class Layout { us, french, none };

    KeyTranslation translate(KeyCode keyCode) const override;

    void setLayout(Layout layout) { layout_ = layout; }
    void setTranslation(KeyCode keyCode, KeyTranslation translation) { overrides_[keyCode] = std::move(translation); }

private:
    Layout layout_ = Layout::us;
    std::map<KeyCode, KeyTranslation> overrides_;
};

}  // namespace quillbern
