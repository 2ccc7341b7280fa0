#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "core/foundation/Subscription.h"
#include "core/settings/AppearancePaneModel.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace quillbern {

class ReadoutSlider;
class SegmentedControl;
class SettingsSwitch;

// The Appearance pane: the docks' icon size, corner radius, background material, glass
// tint and names, the landing spotlight and the dimming, and a reset. Every control writes
// the appearance store through the model at the user's move (a slider at each of its steps)
// and follows the store in place.
class AppearancePane final : public QWidget {
public:
    explicit AppearancePane(AppearanceStore& store, QWidget* parent = nullptr);
    ~AppearancePane() override;

    ReadoutSlider& slider(AppearanceSlider which) const { return *sliders_.at(index(which)); }
    QLabel& readout(AppearanceSlider which) const { return *readouts_.at(index(which)); }
    QComboBox& material() const { return *material_; }
    // The glass tint's row with its divider and caption.
    QWidget& glassTintGroup() const { return *glassTintGroup_; }
    SegmentedControl& glassTint() const { return *glassTint_; }
    SettingsSwitch& showsLabels() const { return *showsLabels_; }
    SettingsSwitch& spotlight() const { return *spotlight_; }
    QPushButton& reset() const { return *reset_; }

private:
    static std::size_t index(AppearanceSlider which) { return static_cast<std::size_t>(which); }
    QWidget* sliderRow(AppearanceSlider which, const QString& title, std::string_view symbol);
    void sync();

    AppearancePaneModel model_;
    std::vector<DockMaterial> materials_;
    std::array<ReadoutSlider*, 3> sliders_{};
    std::array<QLabel*, 3> readouts_{};
    QComboBox* material_ = nullptr;
    QWidget* glassTintGroup_ = nullptr;
    SegmentedControl* glassTint_ = nullptr;
    SettingsSwitch* showsLabels_ = nullptr;
    SettingsSwitch* spotlight_ = nullptr;
    QPushButton* reset_ = nullptr;
    Subscription changed_;
};

}  // namespace quillbern
