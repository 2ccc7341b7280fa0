#pragma once

#include <string>
#include <vector>

class QWidget;

namespace quillbern::testing {

// The widgets of a window that write heavier than medium but would draw Japanese and Chinese
// letters no heavier than regular, beside Latin letters drawn heavy. One line per widget.
std::vector<std::string> lightHeadings(QWidget& window);

}  // namespace quillbern::testing
