#pragma once

#include <QWidget>
#include <array>
#include <string_view>

class QListWidget;
class QVBoxLayout;

namespace quillbern {

enum class SettingsSection { general, docks, appearance, previews, permissions, support, help, about };

struct SettingsSectionInfo {
    SettingsSection section;
    std::string_view title;
    std::string_view symbol;
};

// The sections in the order the sidebar lists them.
const std::array<SettingsSectionInfo, 8>& settingsSections();

// The root view of the Settings window: a sidebar of the sections beside the page of the
// selected one. Exactly one section is always selected, and its page is made anew each time
// it is selected.
class SettingsView final : public QWidget {
public:
    explicit SettingsView(QWidget* parent = nullptr);

    SettingsSection section() const { return section_; }
    void select(SettingsSection section);
    QListWidget& sidebar() const { return *sidebar_; }
    // The page shown now.
    QWidget& page() const { return *page_; }

    QSize sizeHint() const override;

private:
    void showPage();

    SettingsSection section_ = SettingsSection::general;
    QListWidget* sidebar_;
    QVBoxLayout* detail_;
    QWidget* page_ = nullptr;
};

}  // namespace quillbern
