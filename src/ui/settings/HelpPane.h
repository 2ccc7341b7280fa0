#pragma once

#include <QWidget>
#include <vector>

#include "core/foundation/NotificationBus.h"
#include "core/settings/HelpContent.h"

class QLabel;
class QPushButton;

namespace quillbern {

class SettingsCard;
class SettingsPage;

// The Help section: a card for each feature, then the card that shows the walkthrough
// again. The texts wrap to the pane's width, never cut short.
class HelpPane final : public QWidget {
public:
    // The walkthrough is asked for through the program's notices.
    explicit HelpPane(NotificationBus& notifications, QWidget* parent = nullptr);

    // Every card, the walkthrough's last.
    const std::vector<SettingsCard*>& cards() const { return cards_; }
    // The cards' titles and paragraphs, in the same order.
    const std::vector<QLabel*>& titles() const { return titles_; }
    const std::vector<QLabel*>& texts() const { return texts_; }
    QPushButton& walkthroughButton() const { return *walkthrough_; }

private:
    SettingsCard* addCard(const HelpCard& card);

    SettingsPage* page_;
    std::vector<SettingsCard*> cards_;
    std::vector<QLabel*> titles_;
    std::vector<QLabel*> texts_;
    QPushButton* walkthrough_;
};

}  // namespace quillbern
