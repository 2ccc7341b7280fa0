#pragma once

#include <QScrollArea>

class QVBoxLayout;

namespace quillbern {

class SettingsCard;

// The body of every Settings pane: a scrolling column of cards, 16 apart, at most 680
// points wide with its padding of 18 and centred in the detail area; a narrower area is
// filled. The page has no title: the shell shows the section's.
class SettingsPage final : public QScrollArea {
public:
    explicit SettingsPage(QWidget* parent = nullptr);

    SettingsCard* addCard(SettingsCard* card);
    // Anything else the column holds, such as a banner above the cards.
    void addWidget(QWidget* widget);
    QWidget& column() const { return *column_; }

private:
    QWidget* column_;
    QVBoxLayout* layout_;
};

// Scrolls the page that holds the widget until it is in sight, once the widget has its place
// in the layout, if it shows by then: a note that just appeared answers what the user did, and
// may stand below the fold. While the page then shrinks, the widget is kept in sight, unless
// the user had scrolled it away. Every note that answers a click comes into sight this way;
// one that did not appear leaves the page as it was.
void bringIntoSight(QWidget& widget);

}  // namespace quillbern
