#pragma once

#include <QWidget>
#include <memory>
#include <optional>

#include "core/foundation/Lifetime.h"
#include "core/platform/PanelHost.h"

namespace quillbern {

class XServerAnswer;

// The top-level window behind a Panel: frameless, above ordinary windows, on every
// desktop. Typed as a dock and never focused, so the window manager puts it exactly where
// asked; a key-taking panel (SearchPanel) is an ordinary managed window that takes focus.
class FloatingPanel : public QWidget {
    Q_OBJECT
public:
    // An unmanaged panel, one that ignores the mouse, is one the window manager neither
    // frames nor stacks: its host stacks it.
    FloatingPanel(const PanelStyle& style, PanelContent content, bool unmanaged = false);
    ~FloatingPanel() override;

    void setContent(PanelContent content);
    void setCommandClickHandler(Task handler) { commandClick_ = std::move(handler); }
    // Veil panels only; see Panel.
    void setVeil(const std::optional<RectBL>& hole, double intensity);
    void clearVeilEffects();
    // Its content is a veil (a VeilView).
    bool showsVeil() const;
    bool hasContentView() const { return contentView_ != nullptr; }
    // The content shown inset by these margins, the rest of the window left clear.
    void setContentMargins(const QMargins& margins);
    bool isUnmanaged() const { return unmanaged_; }
    PanelLevel level() const { return level_; }
    bool isDockPanel() const { return dockPanel_; }
    // Whether a compositing manager blends the panel with what lies below; without one the
    // panel is cut to its content's outline.
    void setCanBlend(bool canBlend);
    // From then on the panel repaints only once the X server has just answered, so that the
    // round trip Qt makes before painting never waits on the main loop for a busy server.
    void paintWhenServerAnswers(std::shared_ptr<XServerAnswer> answers);

protected:
    // Asks the window manager to activate the panel as a pager would, which it grants even
    // when another application has the focus and our connection saw no recent input.
    void requestActivation();
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // Command-clicks, on the panel's window; resizes of the content view.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window manager reads these before mapping; Qt rewrites the type whenever it
    // re-creates the native window, so they are set again then, and before every map.
    void applyWindowHints();
    // The same, through the window manager, for the mapped panel.
    void reassertWindowHints();
    // Once per native window: its hints, Qt's offer of the focus taken back from a panel
    // that never takes it, and the watch of its events.
    void nativeWindowMade();
    void watchWindow();
    void refreshShape();
    // Holds a repaint Qt asks for until the server answers; true when it was held.
    bool holdRepaint();

    PanelContent content_;
    // The view of the content, where it is more than a fill; fills the panel.
    QWidget* contentView_ = nullptr;
    Task commandClick_;
    // From a Command-press to its release, the click is the hook's.
    bool takingCommandClick_ = false;
    bool wasExposed_ = false;
    bool unmanaged_ = false;
    bool takesKeyFocus_ = false;
    PanelLevel level_;
    bool dockPanel_ = false;
    bool canBlend_ = true;
    std::shared_ptr<XServerAnswer> answers_;
    bool awaitingAnswer_ = false;
    // The server has just answered: the next repaint goes through.
    bool answered_ = false;
    Lifetime lifetime_;
};

}  // namespace quillbern
