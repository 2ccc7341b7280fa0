#pragma once

#include <QWidget>

#include "core/foundation/Signal.h"
#include "core/shell/Walkthrough.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace quillbern {

class WalkthroughNotice;

// The walkthrough on screen: the step's symbol at the top, the step in the middle, and the
// navigation row at the bottom (Previous, the page dots, Continue, Later or Finish). Every
// step is built once and brought up to date in place whenever the walkthrough changes.
class WalkthroughView final : public QWidget {
public:
    explicit WalkthroughView(Walkthrough& walkthrough, QWidget* parent = nullptr);

private:
    QWidget* welcomeStep();
    QWidget* windowAccessStep();
    QWidget* previewsStep();
    QWidget* comfortStep();
    QWidget* navigationRow();
    void sync();

    Walkthrough& walkthrough_;
    QLabel* symbol_ = nullptr;
    QStackedWidget* steps_ = nullptr;
    // Window access.
    WalkthroughNotice* granted_ = nullptr;
    QWidget* grantHelp_ = nullptr;
    QPushButton* allowAccess_ = nullptr;
    // Previews.
    QCheckBox* previews_ = nullptr;
    QWidget* captureHelp_ = nullptr;
    // Comfort.
    QCheckBox* login_ = nullptr;
    WalkthroughNotice* loginApproval_ = nullptr;
    WalkthroughNotice* loginError_ = nullptr;
    QCheckBox* hideDock_ = nullptr;
    WalkthroughNotice* hideError_ = nullptr;
    // Navigation.
    QPushButton* previous_ = nullptr;
    QWidget* dots_ = nullptr;
    QPushButton* forward_ = nullptr;
    Subscription changed_;
};

}  // namespace quillbern
