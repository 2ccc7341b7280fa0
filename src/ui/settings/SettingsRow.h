#pragma once

#include <QString>
#include <QWidget>
#include <string_view>

class QLabel;

namespace quillbern {

// A row's usual label: a symbol, then its title.
class SettingsRowLabel final : public QWidget {
public:
    SettingsRowLabel(const QString& title, std::string_view symbol, QWidget* parent = nullptr);
    QLabel& text() const { return *text_; }

private:
    QLabel* text_ = nullptr;
};

// One setting of a card: the label at the leading edge, the control at the trailing edge,
// at least 12 apart and 30 high; where the two do not fit side by side, the control stands
// under the label, still at the trailing edge, and a title too wide even alone wraps. The control shows no title of its
// own: a control without an accessible name is named after the row's title, and the title labels it for assistive tools
// (the only name a picker has on Linux).
class SettingsRow final : public QWidget {
public:
    SettingsRow(QWidget* label, QWidget* control, QWidget* parent = nullptr);
    SettingsRow(const QString& title, std::string_view symbol, QWidget* control, QWidget* parent = nullptr);

    // The label given, or the title.
    QWidget* label() const { return label_; }
    QWidget* control() const { return control_; }

private:
    QWidget* label_ = nullptr;
    QWidget* control_;
};

// The hairline between two rows of a card, with 6 points of space above and below.
class SettingsRowDivider final : public QWidget {
public:
    explicit SettingsRowDivider(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace quillbern
