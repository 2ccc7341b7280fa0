#pragma once

#include <QWidget>
#include <optional>

#include "core/settings/SettingsServices.h"
#include "core/settings/SettingsShellModel.h"

class QLabel;
class QListWidget;
class QSplitter;
class QVBoxLayout;

namespace quillbern {

class FocusedWheel;

// The root view of the Settings window: the sidebar of the eight sections beside the
// detail area, which shows the selected section's title over its pane. Exactly one section
// is always selected; its pane is made anew each time it is chosen, and the pane before is
// hidden at once and destroyed once control is back in the event loop, since the choice may
// come from inside one of its own slots. While the view is on screen its model refreshes the
// login item and the capture grant every second. Its controls take the wheel only while they
// have the keyboard focus: otherwise it scrolls the page.
class SettingsView final : public QWidget {
public:
    explicit SettingsView(const SettingsServices& services, QWidget* parent = nullptr);
    ~SettingsView() override;

    SettingsShellModel& model() { return model_; }
    SettingsSection section() const { return model_.section(); }
    // As if the section's row were chosen.
    void select(SettingsSection section) { model_.select(section); }

    QListWidget& sidebar() const { return *sidebar_; }
    QLabel& title() const { return *title_; }
    // The pane shown now.
    QWidget& pane() const { return *pane_; }

    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The sections' symbols in the colours of the palette as it is now.
    void paintSymbols();
    void sidebarChose();
    void showSection();

    SettingsServices services_;
    SettingsShellModel model_;
    QSplitter* split_;
    QListWidget* sidebar_;
    QLabel* title_;
    QVBoxLayout* detail_;
    QWidget* pane_ = nullptr;
    FocusedWheel* wheel_;
    std::optional<SettingsSection> shown_;
    Subscription sectionChanged_;
};

}  // namespace quillbern
