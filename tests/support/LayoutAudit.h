#pragma once

#include <string>
#include <vector>

class QWidget;

namespace quillbern::testing {

// What a window cuts off of the texts and controls it shows, once laid out as the event loop
// would have laid it out by now: a label whose text is wider or taller than its rectangle (a
// word-wrapped one measured as it wraps), a button narrower than its text, and any of them
// reaching beyond a widget that holds it (a scrolling column wider than its viewport, say; out
// of sight above or below a scrolling viewport is no fault). A label that elides has its
// elided text, and passes. One line per problem.
std::vector<std::string> clippedTexts(QWidget& window);

}  // namespace quillbern::testing
