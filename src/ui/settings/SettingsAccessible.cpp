#include "ui/settings/SettingsAccessible.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>

#include "ui/settings/DockRow.h"
#include "ui/settings/EditorRowChrome.h"
#include "ui/settings/SegmentedControl.h"
#include "ui/settings/SettingsSwitch.h"

namespace quillbern {

namespace {

// A checkable button of ours: its role, its checked state, and a press that clicks it.
class CheckableAccessible final : public QAccessibleWidget {
public:
    CheckableAccessible(QAbstractButton* button, QAccessible::Role role) : QAccessibleWidget(button, role) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        return state;
    }
    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty()) text = button()->text();
        return text;
    }
    QStringList actionNames() const override {
        return QStringList{role() == QAccessible::CheckBox ? toggleAction() : pressAction()} +
               QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == toggleAction() || name == pressAction()) {
            if (button()->isEnabled()) button()->click();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

class EditorRowAccessible final : public QAccessibleWidget {
public:
    explicit EditorRowAccessible(EditorRowChrome* row) : QAccessibleWidget(row, QAccessible::ListItem) {}

    QStringList actionNames() const override { return QStringList{row()->removeHelp()}; }
    QString localizedActionDescription(const QString& name) const override { return name; }
    void doAction(const QString& name) override {
        if (name == row()->removeHelp()) row()->remove();
    }

private:
    EditorRowChrome* row() const { return static_cast<EditorRowChrome*>(widget()); }
};

// A dock of the Docks pane's list: a button named by its dock, selected while its dock is,
// described by its status; pressing it selects the dock, and its removal is an action.
class DockRowAccessible final : public QAccessibleWidget {
public:
    explicit DockRowAccessible(DockRow* row) : QAccessibleWidget(row, QAccessible::Button) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.selected = row()->data().isSelected;
        return state;
    }
    QStringList actionNames() const override { return QStringList{pressAction(), removeAction()}; }
    QString localizedActionDescription(const QString& name) const override { return name; }
    void doAction(const QString& name) override {
        if (name == pressAction()) {
            row()->click();
        } else if (name == removeAction()) {
            row()->askToRemove();
        }
    }

private:
    DockRow* row() const { return static_cast<DockRow*>(widget()); }
    QString removeAction() const { return QString::fromStdString(row()->data().removeTitle); }
};

bool named(const QString& className, const QMetaObject& type) {
    return className == QLatin1String(type.className());
}

QAccessibleInterface* settingsFactory(const QString& className, QObject* object) {
    if (named(className, SettingsSwitch::staticMetaObject))
        return new CheckableAccessible(static_cast<QAbstractButton*>(object), QAccessible::CheckBox);
    if (named(className, SegmentButton::staticMetaObject))
        return new CheckableAccessible(static_cast<QAbstractButton*>(object), QAccessible::RadioButton);
    if (named(className, DockRow::staticMetaObject)) return new DockRowAccessible(static_cast<DockRow*>(object));
    if (named(className, EditorRowChrome::staticMetaObject))
        return new EditorRowAccessible(static_cast<EditorRowChrome*>(object));
    return nullptr;
}

}  // namespace

void installSettingsAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(settingsFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace quillbern
