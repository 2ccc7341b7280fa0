#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QStyleOptionMenuItem>
#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>

#include "shell/ShellWorld.h"
#include "sim/SimLocalizer.h"
#include "ui/foundation/ShortcutTexts.h"
#include "ui/shell/MenuRows.h"

namespace quillbern {
namespace {

using testing::ShellWorld;

// A menu that tells what each of its lines shows, as Qt draws it.
class ShownMenu final : public OwnShortcutsMenu {
public:
    // Each line with something in its key column, as "title → keys".
    std::vector<std::string> keyColumn() const {
        std::vector<std::string> lines;
        for (QAction* action : actions()) {
            QStyleOptionMenuItem shown;
            initStyleOption(&shown, action);
            const qsizetype tab = shown.text.indexOf(u'\t');
            if (tab >= 0) lines.push_back((shown.text.left(tab) + " → " + shown.text.mid(tab + 1)).toStdString());
        }
        return lines;
    }
};

// In German, whose Ctrl is Strg: Qt names the keys of a shortcut in its own words.
TEST(MenuRows, EveryShortcutOfAMenuIsWrittenAsTheProgramWritesChords) {
    SimLocalizer german;
    german.addInContext("keyboard key", "Ctrl", "Strg");
    german.addInContext("keyboard key", "Shift", "Umschalt");
    ShellWorld w;
    w.world.defaults.set(AppShell::kOnboardedKey, true);
    w.launch();

    ShownMenu status;
    fillMenu(status, w.openMenu(), [](const MenuRow&) {});
    EXPECT_THAT(status.keyColumn(), ::testing::IsSupersetOf({"All open apps → Strg+Super+A", "Settings… → Strg+,",
                                                             "Quit Quillbern → Strg+Q"}));
    const QList<QAction*> lines = status.actions();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QAction* line) {
        return line->text() == "Settings…";
    })) << "a line's name, as assistive tools read it, is its title alone";

    writeShortcutsOfQtMenusOurWay();
    QLineEdit field(QStringLiteral("text"));
    const std::unique_ptr<QMenu> standard(field.createStandardContextMenu());
    standard->popup(QPoint(10, 10));
    ShownMenu edit;
    edit.addActions(standard->actions());
    EXPECT_THAT(edit.keyColumn(), ::testing::IsSupersetOf({"&Undo → Strg+Z", "&Copy → Strg+C", "Select All → Strg+A"}));
}

}  // namespace
}  // namespace quillbern
