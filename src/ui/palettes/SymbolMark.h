#pragma once

#include <QWidget>
#include <string>

namespace quillbern {

// A symbol of the table in ui/foundation/Symbols, drawn square at a side in the palettes'
// secondary colour: the field's mark, a breadcrumb's chevron, a pinned result's badge.
class SymbolMark final : public QWidget {
public:
    SymbolMark(std::string symbol, int side, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string symbol_;
};

}  // namespace quillbern
