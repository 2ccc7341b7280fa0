#pragma once

#include <map>

#include "core/platform/KeyboardLayout.h"

namespace quillbern {

// A US or a French (AZERTY) keyboard, or none at all; a test may also say what one key
// types and which key a scan code names.
class SimKeyboardLayout final : public KeyboardLayout {
public:
    enum class Layout { us, french, none };

    KeyTranslation translate(KeyCode keyCode) const override;
    std::optional<KeyCode> keyCodeForScanCode(std::uint32_t nativeScanCode) const override;
    std::string keyName(std::uint32_t nativeScanCode) const override;

    void setLayout(Layout layout) { layout_ = layout; }
    void setTranslation(KeyCode keyCode, KeyTranslation translation) { overrides_[keyCode] = std::move(translation); }
    // Which key a native scan code names; none is named until a test says so.
    void setScanCode(std::uint32_t nativeScanCode, KeyCode keyCode) { scanCodes_[nativeScanCode] = keyCode; }
    // What the key at a scan code is called; none is named until a test says so.
    void setKeyName(std::uint32_t nativeScanCode, std::string name) { keyNames_[nativeScanCode] = std::move(name); }

private:
    Layout layout_ = Layout::us;
    std::map<KeyCode, KeyTranslation> overrides_;
    std::map<std::uint32_t, KeyCode> scanCodes_;
    std::map<std::uint32_t, std::string> keyNames_;
};

}  // namespace quillbern
