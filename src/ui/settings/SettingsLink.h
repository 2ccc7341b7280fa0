#pragma once

#include <QPushButton>
#include <string_view>

namespace quillbern {

// A link of a Settings page: its symbol and label in the accent colour, without a bezel,
// named by its label for assistive tools. What it opens is the pane's to say.
class SettingsLink final : public QPushButton {
public:
    SettingsLink(const QString& label, std::string_view symbol, QWidget* parent = nullptr);
};

}  // namespace quillbern
