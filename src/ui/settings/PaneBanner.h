#pragma once

#include <QWidget>
#include <string_view>
#include <vector>

#include "core/settings/SettingsControlLooks.h"

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace quillbern {

// A note across the top of a pane: a symbol, a text that wraps, and small buttons at the
// trailing side, on a faint wash of one colour, with a divider under it.
class PaneBanner final : public QWidget {
public:
    // `alignment`: where the symbol and the buttons stand beside a text of several lines.
    PaneBanner(std::string_view symbol, SettingsTone symbolTone, SettingsTone wash, Qt::Alignment alignment,
               QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;
    QPushButton* addButton(const QString& title);
    const std::vector<QPushButton*>& buttons() const { return buttons_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* text_;
    QHBoxLayout* layout_;
    SettingsTone wash_;
    Qt::Alignment alignment_;
    std::vector<QPushButton*> buttons_;
};

}  // namespace quillbern
