// The palette field and the palette panel under the offscreen platform.
#include <QLayout>
#include <gtest/gtest.h>

#include "QtKeys.h"
#include "sim/SimKeyboardLayout.h"
#include "ui/foundation/SearchPanel.h"
#include "ui/palettes/PaletteField.h"

namespace quillbern {
namespace {

using testing::type;

// A search palette's panel holding a field, as the searches build it.
class PaletteFieldTest : public ::testing::Test {
protected:
    PaletteFieldTest() : panel(keyed(), PlainFill{}, layout) {
        panel.setGeometry(100, 100, 500, 80);
        field = new PaletteField(&panel);
        panel.layout()->addWidget(field);
        other = new QWidget(&panel);
        other->setFocusPolicy(Qt::StrongFocus);
        panel.layout()->addWidget(other);
        field->onEdit = [this](const std::string& text) { journal.push_back("edit " + text); };
        field->onMove = [this](int step) { journal.push_back("move " + std::to_string(step)); };
        field->onReturn = [this] { journal.push_back("return"); };
        field->onEscape = [this] { journal.push_back("escape"); };
        PanelKeyHandlers keys;
        keys.onCancel = [this] { journal.push_back("cancel"); };
        keys.onKey = [this](const KeyEvent&) {
            journal.push_back("panel key");
            return true;
        };
        panel.setKeyHandlers(keys);
        panel.show();
    }
    static PanelStyle keyed() {
        PanelStyle style;
        style.level = PanelLevel::palette;
        style.takesKeyFocus = true;
        return style;
    }
    bool press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
        return type(panel.windowHandle(), key, modifiers, 0, text);
    }

    SimKeyboardLayout layout;
    SearchPanel panel;
    PaletteField* field = nullptr;
    QWidget* other = nullptr;
    std::vector<std::string> journal;
};

TEST_F(PaletteFieldTest, TakesTheKeyboardOnceOnScreen) {
    EXPECT_EQ(panel.focusWidget(), field);
}

TEST_F(PaletteFieldTest, ArrowsAndTabsMoveThroughTheListWithoutMovingTheCaretOrTheFocus) {
    field->setQuery("hello");
    field->setCursorPosition(2);
    EXPECT_TRUE(press(Qt::Key_Up));
    EXPECT_TRUE(press(Qt::Key_Backtab, Qt::ShiftModifier));
    EXPECT_TRUE(press(Qt::Key_Tab, Qt::ShiftModifier));
    EXPECT_TRUE(press(Qt::Key_Down));
    EXPECT_TRUE(press(Qt::Key_Tab));
    EXPECT_EQ(journal, (std::vector<std::string>{"move -1", "move -1", "move -1", "move 1", "move 1"}));
    EXPECT_EQ(field->cursorPosition(), 2);
    EXPECT_EQ(panel.focusWidget(), field) << "Tab never reaches the focus chain";
}

TEST_F(PaletteFieldTest, ReturnAndEnterAct) {
    EXPECT_TRUE(press(Qt::Key_Return));
    EXPECT_TRUE(press(Qt::Key_Enter, Qt::KeypadModifier));
    EXPECT_EQ(journal, (std::vector<std::string>{"return", "return"}));
}

TEST_F(PaletteFieldTest, EscapeClearsAQueryAndWithoutOneGoesOnToThePanel) {
    field->setQuery("abc");
    EXPECT_TRUE(press(Qt::Key_Escape));
    EXPECT_EQ(journal, std::vector<std::string>{"escape"});
    journal.clear();
    field->setQuery("");
    press(Qt::Key_Escape);
    EXPECT_EQ(journal, std::vector<std::string>{"cancel"});
}

TEST_F(PaletteFieldTest, DeleteInAnEmptyFieldIsTakenOnlyWhereThePaletteWantsIt) {
    // Unset: the field deletes as ever, which in an empty field is nothing.
    press(Qt::Key_Backspace);
    EXPECT_TRUE(journal.empty());
    field->onDeleteEmpty = [this] { journal.push_back("delete empty"); };
    EXPECT_TRUE(press(Qt::Key_Backspace));
    EXPECT_EQ(journal, std::vector<std::string>{"delete empty"});
    // With text, Delete deletes.
    journal.clear();
    field->setQuery("ab");
    press(Qt::Key_Backspace);
    EXPECT_EQ(field->text(), "a");
    EXPECT_EQ(journal, std::vector<std::string>{"edit a"});
}

TEST_F(PaletteFieldTest, TypingEditsAndAnUpdateWritesOnlyWhatDiffers) {
    press(Qt::Key_H, Qt::NoModifier, QStringLiteral("h"));
    press(Qt::Key_I, Qt::NoModifier, QStringLiteral("i"));
    EXPECT_EQ(journal, (std::vector<std::string>{"edit h", "edit hi"}));
    field->setCursorPosition(1);
    field->setSelection(0, 1);
    field->setQuery("hi");
    EXPECT_EQ(field->selectedText(), "h") << "an equal query leaves caret and selection alone";
    field->setQuery("ho");
    EXPECT_EQ(field->text(), "ho");
    EXPECT_EQ(journal.size(), 2u) << "the palette's own writes are no edits";
    field->setPlaceholder("Search apps");
    EXPECT_EQ(field->placeholderText(), "Search apps");
}

}  // namespace
}  // namespace quillbern
