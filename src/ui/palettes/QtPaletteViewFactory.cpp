#include "ui/palettes/QtPaletteViewFactory.h"

#include <QPointer>
#include <QWidget>

#include "ui/palettes/ShortcutSheetView.h"

namespace quillbern {

namespace {

// Owns its widget until a panel takes it as a child.
class QtPaletteView final : public PaletteView {
public:
    explicit QtPaletteView(QWidget* widget) : widget_(widget) {}
    ~QtPaletteView() override {
        if (widget_ && !widget_->parent()) delete widget_;
    }

    Size fittingSize() const override {
        if (!widget_) return {};
        widget_->ensurePolished();
        const QSize hint = widget_->sizeHint();
        return {double(hint.width()), double(hint.height())};
    }
    QWidget* widget() const { return widget_; }

private:
    QPointer<QWidget> widget_;
};

}  // namespace

std::shared_ptr<PaletteView> QtPaletteViewFactory::shortcutSheet(const std::vector<ShortcutSheetRow>& rows) {
    return std::make_shared<QtPaletteView>(new ShortcutSheetView(rows, system_));
}

QWidget* paletteWidget(const PaletteView& view) {
    const auto* built = dynamic_cast<const QtPaletteView*>(&view);
    return built ? built->widget() : nullptr;
}

}  // namespace quillbern
