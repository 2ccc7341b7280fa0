#pragma once

#include <string>
#include <vector>

class QWidget;

namespace quillbern::testing {

// The keyboard and screen-reader audit that every Settings pane runs in its offscreen
// tests: every widget that Tab can reach in `pane` has an accessible name, and Tab,
// pressed from the first of them, visits each of them once, top to bottom (left to right
// along a line), before focus leaves the pane or comes back to the first. Widgets hidden
// from view are not counted; a remove button kept at opacity 0 is. Of an exclusive group
// (segments, radio buttons) Tab reaches the chosen choice only, and the arrow keys the others.
//
// Shows the pane's window and gives it the keyboard first. Returns the problems found, one
// line each, so `EXPECT_THAT(accessibilityProblems(pane), IsEmpty())` lists them all.
std::vector<std::string> accessibilityProblems(QWidget& pane);

// Shows the widget's window and gives it the keyboard, as a person's click on it would.
void showWithKeyboard(QWidget& widget);

// The widgets Tab visits from the first one in `pane`, in order, until focus leaves the
// pane or comes back; for tests that check the order itself.
std::vector<QWidget*> tabOrder(QWidget& pane);

}  // namespace quillbern::testing
