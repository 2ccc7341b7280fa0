#include "ui/foundation/ShortcutTexts.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QKeySequence>
#include <QMenu>
#include <QStyleOptionMenuItem>

#include "core/shortcuts/ChordText.h"
#include "ui/foundation/QtKeyCodes.h"

namespace quillbern {

namespace {

std::uint32_t chordModifiers(Qt::KeyboardModifiers held) {
    std::uint32_t modifiers = 0;
    if (held.testFlag(Qt::ControlModifier)) modifiers |= HotKeyChord::kControl;
    if (held.testFlag(Qt::AltModifier)) modifiers |= HotKeyChord::kOption;
    if (held.testFlag(Qt::ShiftModifier)) modifiers |= HotKeyChord::kShift;
    if (held.testFlag(Qt::MetaModifier)) modifiers |= HotKeyChord::kCommand;
    return modifiers;
}

// Qt's text for the keys of a line, written after its title and a tab as Qt writes it;
// none where the line shows no keys or keys of ours.
std::optional<QKeyCombination> keysQtWrote(const QAction& action) {
    const qsizetype tab = action.text().indexOf(u'\t');
    if (tab < 0) return std::nullopt;
    const QString written = action.text().mid(tab + 1);
    const QKeySequence keys = QKeySequence::fromString(written, QKeySequence::NativeText);
    if (keys.count() != 1 || keys.toString(QKeySequence::NativeText) != written) return std::nullopt;
    return keys[0];
}

// A menu is polished before it first lays out its lines, so its key column is measured
// with the texts it shows. A text field's menu writes Qt's text for the keys into its
// lines' titles, after a tab.
class QtMenuShortcuts final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Polish) return false;
        auto* menu = qobject_cast<QMenu*>(watched);
        if (!menu) return false;
        for (QAction* action : menu->actions()) {
            const std::optional<QKeyCombination> keys = keysQtWrote(*action);
            if (!keys) continue;
            const QString title = action->text().section(u'\t', 0, 0);
            action->setText(title + u'\t' + shortcutText(*keys));
        }
        return false;
    }
};

}  // namespace

QString shortcutText(QKeyCombination keys) {
    std::optional<std::string> name;
    if (const std::optional<KeyCode> keyCode = keyCodeOfQtKey(keys.key())) name = ChordText::fixedKeyName(*keyCode);
    const auto key = static_cast<char32_t>(keys.key());
    if (!name && key < Qt::Key_Escape && QChar::isPrint(key)) name = QString::fromUcs4(&key, 1).toUpper().toStdString();
    if (!name) return QKeySequence(keys).toString(QKeySequence::NativeText);
    return QString::fromStdString(ChordText::withKeyNamed(chordModifiers(keys.keyboardModifiers()), *name));
}

void OwnShortcutsMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
    QMenu::initStyleOption(option, action);
    // Only where Qt wrote the shortcut itself, after a tab it added.
    const qsizetype tab = option->text.indexOf(u'\t');
    if (tab < 0 || action->text().contains(u'\t') || action->shortcut().isEmpty()) return;
    option->text = option->text.left(tab) + u'\t' + shortcutText(action->shortcut()[0]);
}

void writeShortcutsOfQtMenusOurWay() {
    QCoreApplication::instance()->installEventFilter(new QtMenuShortcuts(QCoreApplication::instance()));
}

}  // namespace quillbern
