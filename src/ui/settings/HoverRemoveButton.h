#pragma once

#include "ui/settings/SettingsIconButton.h"

namespace quillbern {

// The remove button of an editable row: a ring with a minus, filled and red under the
// pointer. Its opacity is its row's business; at 0 it keeps its place and its focus.
class HoverRemoveButton final : public SettingsIconButton {
public:
    explicit HoverRemoveButton(const QString& help, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {20, 20}; }
    void setOpacity(double opacity);
    double opacity() const { return opacity_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // The first click of a double click removed a row; the second lands on whatever took its
    // place, which it must not remove too.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    double opacity_ = 1;
};

}  // namespace quillbern
