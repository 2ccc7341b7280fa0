#pragma once

#include <functional>

#include "core/platform/PanelHost.h"

class QWidget;

namespace quillbern {

// A panel view as the Qt view factories build it: the panel that shows it asks it for its
// widget, a child of the panel's window.
class PanelWidget {
public:
    virtual ~PanelWidget() = default;

    virtual QWidget* widgetIn(QWidget* panel) const = 0;
};

// A view whose widget is made when a panel shows it.
class QtPanelView final : public PanelView, public PanelWidget {
public:
    using Make = std::function<QWidget*(QWidget* panel)>;

    explicit QtPanelView(Make make) : make_(std::move(make)) {}

    QWidget* widgetIn(QWidget* panel) const override { return make_(panel); }

private:
    Make make_;
};

}  // namespace quillbern
