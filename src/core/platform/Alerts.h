#pragma once

#include <string>
#include <vector>

namespace quillbern {

// A modal alert: what it says and the buttons it offers, the first being the default.
struct AlertSpec {
    enum class Style { info, warning, critical };
    Style style = Style::warning;
    std::string message;
    std::string informative;
    std::vector<std::string> buttons;
    // Above other windows, with the program brought forward first.
    bool floating = false;
    bool operator==(const AlertSpec&) const = default;
};

// Sounds and alerts shown to the user.
class Alerts {
public:
    virtual ~Alerts() = default;

    // The system's alert sound, for a request that cannot be carried out.
    virtual void beep() = 0;
    // Shows the alert and returns once it is dismissed: the index of the chosen button,
    // or the last one's when it was closed without a choice.
    virtual std::size_t runModal(const AlertSpec& alert) = 0;
};

}  // namespace quillbern
