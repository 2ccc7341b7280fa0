#include "ui/palettes/QtPaletteViewFactory.h"

#include <QPointer>
#include <QWidget>

#include "ui/foundation/PanelWidget.h"
#include "ui/palettes/AppSearchView.h"
#include "ui/palettes/FileSearchView.h"
#include "ui/palettes/OverviewView.h"
#include "ui/palettes/PaletteField.h"
#include "ui/palettes/ShortcutSheetView.h"

namespace quillbern {

namespace {

// Owns its widget until a panel takes it as a child.
class QtPaletteView final : public PaletteView, public PanelWidget {
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
    bool focusField() override {
        PaletteField* field = widget_ ? widget_->findChild<PaletteField*>() : nullptr;
        if (!field) return false;
        field->setFocus(Qt::OtherFocusReason);
        return true;
    }
    QWidget* widget() const { return widget_; }
    QWidget* widgetIn(QWidget* panel) const override {
        if (widget_) widget_->setParent(panel);
        return widget_;
    }

private:
    QPointer<QWidget> widget_;
};

// The overview's view, which also hears whether its row scrolls.
class QtOverviewView final : public OverviewPaletteView, public PanelWidget {
public:
    explicit QtOverviewView(OverviewView* view) : view_(view) {}

    Size fittingSize() const override { return view_.fittingSize(); }
    void setScrolls(bool scrolls) override {
        if (auto* shown = qobject_cast<OverviewView*>(view_.widget())) shown->setScrolls(scrolls);
    }
    QWidget* widget() const { return view_.widget(); }
    QWidget* widgetIn(QWidget* panel) const override { return view_.widgetIn(panel); }

private:
    QtPaletteView view_;
};

}  // namespace

std::shared_ptr<PaletteView> QtPaletteViewFactory::shortcutSheet(const std::vector<ShortcutSheetRow>& rows) {
    return std::make_shared<QtPaletteView>(new ShortcutSheetView(rows, system_));
}

std::shared_ptr<OverviewPaletteView> QtPaletteViewFactory::overview(OverviewViewInputs inputs) {
    return std::make_shared<QtOverviewView>(new OverviewView(std::move(inputs), system_));
}

std::shared_ptr<PaletteView> QtPaletteViewFactory::appSearch(const AppSearchViewInputs& inputs) {
    return std::make_shared<QtPaletteView>(new AppSearchView(inputs, system_));
}

std::shared_ptr<PaletteView> QtPaletteViewFactory::fileSearch(FileSearchViewInputs inputs) {
    return std::make_shared<QtPaletteView>(new FileSearchView(std::move(inputs), system_));
}

QWidget* paletteWidget(const PaletteView& view) {
    if (const auto* overview = dynamic_cast<const QtOverviewView*>(&view)) return overview->widget();
    const auto* built = dynamic_cast<const QtPaletteView*>(&view);
    return built ? built->widget() : nullptr;
}

}  // namespace quillbern
