#pragma once

#include <QLineEdit>
#include <functional>
#include <string>

namespace quillbern {

// The one-line search field of the searching palettes. The keys that move through a list
// or act on it never reach the caret or the focus chain: Up and Shift-Tab move by -1,
// Down and Tab by +1, Return and Enter act. Escape clears a query (the palette decides
// how) and goes on to the panel when there is none; Delete in an empty field is taken only
// where the palette wants it. It takes the keyboard as soon as it is on screen.
class PaletteField final : public QLineEdit {
    Q_OBJECT
public:
    explicit PaletteField(QWidget* parent = nullptr);

    // Written only when different, so the caret and the selection survive the palette's
    // updates.
    void setQuery(const std::string& text);
    void setPlaceholder(const std::string& placeholder);

    // Each edit of the user's, with the new text.
    std::function<void(const std::string& text)> onEdit;
    // -1 up, +1 down.
    std::function<void(int step)> onMove;
    std::function<void()> onReturn;
    // Escape while the field has text.
    std::function<void()> onEscape;
    // Delete while the field is empty; unset, that Delete is not taken.
    std::function<void()> onDeleteEmpty;

protected:
    // Before QWidget::event, which would hand Tab to the focus chain.
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Whether the key was one of the field's commands and taken.
    bool applyCommand(const QKeyEvent& key);
};

}  // namespace quillbern
