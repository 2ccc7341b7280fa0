#pragma once

#include "core/platform/KeyboardLayout.h"
#include "ui/foundation/FloatingPanel.h"

class QKeyEvent;

namespace quillbern {

// The panel of a palette: a floating panel that takes the keyboard, even from another
// application, and hands its keys to the palette. Key equivalents (Command, which is Ctrl
// in our windows) are offered before any child sees the key; Escape that no child takes
// cancels; other keys that reach the panel go to the key handler. Losing the activation is
// resigning key. Keys carry their positional codes, whatever the layout.
class SearchPanel : public FloatingPanel {
    Q_OBJECT
public:
    SearchPanel(const PanelStyle& style, PanelContent content, const KeyboardLayout& layout);

    void setKeyHandlers(PanelKeyHandlers handlers) { keys_ = std::move(handlers); }
    // Shows the panel and asks for the keyboard, now or as soon as it is on screen.
    void makeKey();

protected:
    const PanelKeyHandlers& keyHandlers() const { return keys_; }
    // Whether Command keys go to the key-equivalent handler before anything else.
    virtual bool offersKeyEquivalents() const { return true; }
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Key equivalents and the first exposure, at the window before any child.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyEvent keyEventOf(const QKeyEvent& event) const;

    const KeyboardLayout& layout_;
    PanelKeyHandlers keys_;
    bool activationPending_ = false;
};

}  // namespace quillbern
