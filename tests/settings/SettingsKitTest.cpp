#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QEnterEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/AccessibilityAudit.h"
#include "support/PicturesArrived.h"
#include "ui/settings/EditorRowChrome.h"
#include "ui/settings/HoverRemoveButton.h"
#include "ui/settings/KeycapBadge.h"
#include "ui/settings/ListBarButton.h"
#include "ui/settings/SegmentedControl.h"
#include "ui/settings/SettingsCaption.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsPage.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/SettingsSearchField.h"
#include "ui/settings/SettingsStepper.h"
#include "ui/settings/SettingsSwitch.h"

namespace quillbern {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

void hover(QWidget& widget, bool on) {
    if (on) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(&widget, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&widget, &leave);
    }
}

// Pixels of the widget's picture that are clearly red.
int redPixels(QWidget& widget) {
    const QImage picture = widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            count += c.alpha() > 100 && c.red() - c.green() > 60 && c.red() - c.blue() > 60;
        }
    return count;
}

QColor cornerColour(QWidget& widget) {
    QImage picture(widget.size(), QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    widget.render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
    return picture.pixelColor(3, widget.height() / 2);
}

void type(QWidget& widget, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&widget, &press);
}

TEST(SettingsPageTest, APageIsACentredColumnOfCardsAndACardWithoutTitleStartsWithItsBody) {
    SettingsPage page;
    auto* titled = page.addCard(new SettingsCard("Shortcuts"));
    titled->addRow(new SettingsRow("Auto-hide", "eye", new SettingsSwitch));
    auto* plain = page.addCard(new SettingsCard);
    plain->addCaption("A caption long enough to wrap when the column is narrow, as captions do in every pane.");
    page.resize(1000, 700);
    page.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(titled->geometry().x(), 160 + 18);
    EXPECT_EQ(titled->width(), 644);
    EXPECT_EQ(plain->geometry().top(), titled->geometry().bottom() + 1 + 16);

    ASSERT_TRUE(titled->title());
    EXPECT_EQ(titled->title()->text(), "Shortcuts");
    EXPECT_EQ(titled->body().y(), titled->title()->height() + 8);
    EXPECT_EQ(plain->title(), nullptr);
    EXPECT_EQ(plain->body().y(), 0) << "no heading and no space above the body";

    page.resize(500, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(titled->geometry().x(), 18);
    EXPECT_EQ(titled->width(), 500 - 36);
}

TEST(SettingsKitLooks, ListBarAndRemoveButtonsTurnRedOnlyWhereTheyMay) {
    QWidget bar;
    auto* layout = new QHBoxLayout(&bar);
    auto* remove = new ListBarButton("minus", true, "Remove the dock");
    auto* add = new ListBarButton("plus", false, "Add a dock");
    layout->addWidget(add);
    layout->addWidget(remove);
    int removals = 0;
    QObject::connect(remove, &QAbstractButton::clicked, [&removals] { ++removals; });
    bar.show();
    // Drawn once their pictures are chosen.
    bar.grab();
    waitForPictures();
    EXPECT_EQ(remove->size(), QSize(28, 24));
    EXPECT_EQ(remove->toolTip(), "Remove the dock");
    EXPECT_EQ(remove->accessibleName(), "Remove the dock");

    EXPECT_EQ(redPixels(*remove), 0);
    EXPECT_EQ(cornerColour(*remove).alpha(), 0) << "no plate while idle";
    hover(*remove, true);
    hover(*add, true);
    EXPECT_GT(redPixels(*remove), 4);
    EXPECT_GT(cornerColour(*remove).alpha(), 0) << "plated under the pointer";
    EXPECT_EQ(redPixels(*add), 0) << "never red unless destructive";

    bar.setEnabled(false);
    EXPECT_EQ(redPixels(*remove), 0) << "disabled: never red, even under the pointer";
    EXPECT_EQ(cornerColour(*remove).alpha(), 0) << "and no plate";
    remove->click();
    EXPECT_EQ(removals, 0);

    HoverRemoveButton row("Remove Mail from the dock");
    row.show();
    EXPECT_EQ(redPixels(row), 0);
    hover(row, true);
    EXPECT_GT(redPixels(row), 4);
}

TEST(SettingsKitLooks, AnEditorRowShowsItsRemoveButtonWhileHoveredOrFocusedAndOffersRemoval) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* row = new EditorRowChrome("Remove Mail from the dock", new QLabel("Mail"));
    auto* other = new QPushButton("Elsewhere");
    layout->addWidget(row);
    layout->addWidget(other);
    int removals = 0;
    QObject::connect(row, &EditorRowChrome::removeRequested, [&removals] { ++removals; });
    testing::showWithKeyboard(window);
    other->setFocus(Qt::TabFocusReason);
    HoverRemoveButton& button = row->removeButton();
    EXPECT_EQ(button.opacity(), 0);
    EXPECT_TRUE(button.isVisible()) << "invisible, it keeps its place";

    button.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(button.opacity(), 1) << "focus shows it with the pointer elsewhere";
    EXPECT_EQ(cornerColour(*row).alpha(), 0) << "the plate only under the pointer";
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(button.opacity(), 0);
    hover(*row, true);
    EXPECT_EQ(button.opacity(), 1);
    EXPECT_GT(cornerColour(*row).alpha(), 0);
    hover(*row, false);
    EXPECT_EQ(button.opacity(), 0);

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(row);
    ASSERT_TRUE(accessible && accessible->actionInterface());
    EXPECT_EQ(accessible->actionInterface()->actionNames(), QStringList{"Remove Mail from the dock"});
    accessible->actionInterface()->doAction("Remove Mail from the dock");
    EXPECT_EQ(removals, 1);
    button.click();
    EXPECT_EQ(removals, 2) << "the same as pressing the button";
}

TEST(SettingsKitLooks, TheSearchFieldClearsWithoutSubmittingAndSubmitsWhateverItHolds) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* field = new SettingsSearchField("Search apps");
    layout->addWidget(field);
    layout->addWidget(new QPushButton("Elsewhere"));
    int submissions = 0;
    QStringList texts;
    QObject::connect(field, &SettingsSearchField::submitted, [&submissions] { ++submissions; });
    QObject::connect(field, &SettingsSearchField::textChanged, [&texts](const QString& text) { texts << text; });
    testing::showWithKeyboard(window);
    EXPECT_FALSE(field->clearButton().isVisible());

    field->lineEdit().setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(field->isFocused());
    type(field->lineEdit(), Qt::Key_M, "m");
    EXPECT_TRUE(field->clearButton().isVisible()) << "the first character brings the clear button";
    EXPECT_EQ(field->clearButton().focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(field->clearButton().accessibleName(), "Clear the search field");
    EXPECT_EQ(field->clearButton().toolTip(), "Clear");
    field->clearButton().click();
    EXPECT_EQ(field->text(), "");
    EXPECT_FALSE(field->clearButton().isVisible());
    EXPECT_EQ(submissions, 0) << "clearing submits nothing";
    EXPECT_TRUE(field->isFocused()) << "nor moves the focus";
    EXPECT_THAT(texts, ElementsAre("m", ""));

    type(field->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(submissions, 1) << "Return submits the empty text too";
    window.findChild<QPushButton*>()->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(field->isFocused());
}

TEST(SettingsKitControls, SwitchesAndSegmentsWriteOnlyOnAUserActionAndReportTheirState) {
    SettingsSwitch toggle;
    std::vector<bool> written;
    QObject::connect(&toggle, &QAbstractButton::clicked, [&written](bool on) { written.push_back(on); });
    {
        const QSignalBlocker syncing(&toggle);
        toggle.setChecked(true);
    }
    EXPECT_TRUE(written.empty()) << "syncing writes nothing";
    toggle.click();
    EXPECT_THAT(written, ElementsAre(false));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&toggle);
    EXPECT_EQ(accessible->role(), QAccessible::CheckBox);
    EXPECT_FALSE(accessible->state().checked);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(toggle.isChecked());
    EXPECT_TRUE(accessible->state().checked);

    QWidget window;
    auto& tempo = *new SegmentedControl({"Brisk", "Standard", "Relaxed"}, &window);
    std::vector<int> chosen;
    QObject::connect(&tempo, &SegmentedControl::activated, [&chosen](int index) { chosen.push_back(index); });
    tempo.setCurrentIndex(1);
    EXPECT_TRUE(chosen.empty());
    tempo.segment(2).click();
    EXPECT_THAT(chosen, ElementsAre(2));
    EXPECT_EQ(tempo.currentIndex(), 2);
    EXPECT_FALSE(tempo.segment(1).isChecked());
    QAccessibleInterface* segment = QAccessible::queryAccessibleInterface(&tempo.segment(2));
    EXPECT_EQ(segment->role(), QAccessible::RadioButton);
    EXPECT_EQ(segment->text(QAccessible::Name), "Relaxed");
    EXPECT_TRUE(segment->state().checked);

    // Tab reaches the chosen segment; the arrow keys choose another.
    testing::showWithKeyboard(window);
    tempo.segment(2).setFocus(Qt::TabFocusReason);
    type(tempo.segment(2), Qt::Key_Left);
    EXPECT_EQ(tempo.currentIndex(), 1);
    EXPECT_THAT(chosen, ElementsAre(2, 1));
}

TEST(SettingsKitControls, NotesTakeTheirStyleAndAKeycapShowsAWholeChord) {
    SettingsNoteLabel note;
    note.setNote(SettingsNote{"Hiding failed", SettingsNoteStyle::error});
    EXPECT_TRUE(note.isVisibleTo(nullptr) || !note.isHidden());
    EXPECT_EQ(note.text(), "Hiding failed");
    EXPECT_EQ(note.style(), SettingsNoteStyle::error);
    note.setNote(std::nullopt);
    EXPECT_TRUE(note.isHidden());

    KeycapBadge badge("Ctrl+Super+1");
    EXPECT_EQ(badge.text(), "Ctrl+Super+1");
    EXPECT_GE(badge.sizeHint().width(), badge.fontMetrics().horizontalAdvance("Ctrl+Super+1") + 14);
}

// A page as a pane builds it, with one of every control.
struct KitPage {
    KitPage() {
        auto* card = page.addCard(new SettingsCard("Behaviour"));
        card->addRow(new SettingsRow("Auto-hide Quillbern", "eye.slash", new SettingsSwitch));
        card->addCaption("Each dock reappears when the cursor reaches its own stretch of its screen edge.");
        card->addDivider();
        card->addRow(new SettingsRow("Knock tempo", "metronome", new SegmentedControl({"Brisk", "Standard"})));
        card->addRow(new SettingsRow("Workspace app limit", "rectangle.grid.2x2", new SettingsStepper(2, 10)));
        auto* list = page.addCard(new SettingsCard);
        list->addWidget(new SettingsSearchField("Search apps"));
        list->addWidget(new EditorRowChrome("Remove Mail from the dock", new QLabel("Mail")));
        auto* bar = new QWidget;
        auto* buttons = new QHBoxLayout(bar);
        buttons->addWidget(new ListBarButton("plus", false, "Add a dock"));
        buttons->addWidget(new ListBarButton("minus", true, "Remove the dock"));
        buttons->addStretch(1);
        list->addWidget(bar);
        page.resize(700, 900);
        page.setAccessibleName("Behaviour");
    }
    SettingsPage page;
};

TEST(SettingsKitAccessibility, APageOfEveryControlPassesTheAudit) {
    KitPage kit;
    EXPECT_THAT(testing::accessibilityProblems(kit.page), IsEmpty());
    const std::vector<QWidget*> order = testing::tabOrder(kit.page);
    ASSERT_FALSE(order.empty());
    EXPECT_EQ(order.back()->accessibleName(), "Remove the dock");
}

TEST(SettingsKitAccessibility, TheAuditFindsUnnamedControlsAndATabOrderThatGoesBack) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* top = new QPushButton("Top");
    auto* unnamed = new SettingsSwitch;
    auto* bottom = new QPushButton("Bottom");
    layout->addWidget(top);
    layout->addWidget(unnamed);
    layout->addWidget(bottom);
    QWidget::setTabOrder(bottom, unnamed);
    window.resize(300, 200);
    const std::vector<std::string> problems = testing::accessibilityProblems(window);
    EXPECT_THAT(problems, ::testing::Contains(HasSubstr("no accessible name: quillbern::SettingsSwitch")));
    EXPECT_THAT(problems, ::testing::Contains(HasSubstr("Tab goes back")));
}

TEST(SettingsKitAccessibility, ARowsTitleLabelsItsControlEvenAPickerNamedByItsChoice) {
    auto* picker = new QComboBox;
    picker->addItems({"Regular", "Thick"});
    auto* toggle = new SettingsSwitch;
    SettingsCard card;
    card.addRow(new SettingsRow("Background", "circle.bottomrighthalf.pattern.checkered", picker));
    card.addRow(new SettingsRow("Launch beacon", "rays", toggle));
    for (QWidget* control : {static_cast<QWidget*>(picker), static_cast<QWidget*>(toggle)}) {
        const auto labels = QAccessible::queryAccessibleInterface(control)->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1) << control->accessibleName().toStdString();
        EXPECT_EQ(labels.front().first->text(QAccessible::Name), control->accessibleName());
    }
    EXPECT_EQ(picker->accessibleName(), "Background");
}

}  // namespace
}  // namespace quillbern
