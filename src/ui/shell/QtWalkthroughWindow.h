#pragma once

#include <memory>

#include "core/shell/ShellParts.h"
#include "core/shell/Walkthrough.h"
#include "ui/shell/ShellWindowContext.h"

class QWidget;

namespace quillbern {

// The walkthrough's window: above ordinary windows while it is open, so it stays in sight
// while the user visits the desktop's settings. A request while it is open brings it
// forward as it is; after it closed, a request opens a new one at its start. Finishing the
// walkthrough closes it; closing it, however, tells onClosed.
class QtWalkthroughWindow final : public WalkthroughWindow {
public:
    QtWalkthroughWindow(ShellWindowContext context, Walkthrough::Services services);
    ~QtWalkthroughWindow() override;

    void present() override;

    // Null while it is not open.
    QWidget* window() const { return window_.get(); }

private:
    void make();
    void closed();

    ShellWindowContext context_;
    Walkthrough::Services services_;
    // The open window's walkthrough, made with it.
    std::unique_ptr<Walkthrough> walkthrough_;
    std::unique_ptr<QWidget> window_;
};

}  // namespace quillbern
