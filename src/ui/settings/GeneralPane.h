#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "core/foundation/FilledByName.h"
#include "core/foundation/Subscription.h"
#include "core/platform/Alerts.h"
#include "core/platform/HotKeys.h"
#include "core/platform/KeyboardGrabber.h"
#include "core/settings/GeneralPaneModel.h"
#include "core/settings/ShortcutsCardModel.h"

class QComboBox;
class QLabel;
class QMessageBox;
class QPushButton;
class QVBoxLayout;

namespace quillbern {

class ReadoutSlider;
class SegmentedControl;
class SettingsCaption;
class SettingsNoteLabel;
class SettingsPage;
class SettingsStepper;
class SettingsSwitch;
class ShortcutRecorderView;

// The General pane: how docks hide and reveal, the launch beacon, opening at login, hiding
// the desktop's dock, the global shortcuts, the workspace's size, the interface language and
// updates. Every control writes through its model at the user's move and follows the stores
// in place; rows that depend on a setting are shown and hidden, never made again.
class GeneralPane final : public QWidget {
public:
    struct Inputs {
        [[no_unique_address]] FilledByName<Inputs> byName{};
        GeneralPaneModel::Inputs general;
        ShortcutsCardModel::Inputs shortcuts;
        // What the shortcut recorders beep with, suspend and hold while they listen.
        Alerts& alerts;
        HotKeys& hotKeys;
        KeyboardGrabber& keyboardGrabber;
    };

    explicit GeneralPane(Inputs inputs, QWidget* parent = nullptr);
    ~GeneralPane() override;

    SettingsSwitch& autoHide() const { return *autoHide_; }
    // The reveal delay and knock tempo rows with their dividers and captions.
    QWidget& revealGroup() const { return *revealGroup_; }
    ReadoutSlider& revealDelay() const { return *revealDelay_; }
    QLabel& revealDelayText() const { return *revealDelayText_; }
    SettingsCaption& revealDelayCaption() const { return *revealDelayCaption_; }
    SegmentedControl& knockTempo() const { return *knockTempo_; }
    SettingsSwitch& launchBeacon() const { return *launchBeacon_; }
    SettingsSwitch& openAtLogin() const { return *openAtLogin_; }
    // The notes under the login switch, the error among them.
    QWidget& loginNotes() const { return *loginNotes_; }
    SettingsNoteLabel& loginError() const { return *loginError_; }
    QPushButton& openLoginSettings() const { return *openLoginSettings_; }
    SettingsSwitch& hideDesktopDock() const { return *hideDesktopDock_; }
    SettingsNoteLabel& desktopDockError() const { return *desktopDockError_; }
    SettingsSwitch& globalShortcuts() const { return *globalShortcuts_; }
    // Everything of the shortcuts card that shows only while shortcuts are on.
    QWidget& shortcutRows() const { return *shortcutRows_; }
    QWidget& recorderRow(const HotKeyAction& feature) const { return *recorderRows_.at(index(feature)); }
    ShortcutRecorderView& recorder(const HotKeyAction& feature) const { return *recorderViews_.at(index(feature)); }
    SettingsNoteLabel& chordNote() const { return *chordNote_; }
    SettingsCaption& struckThroughCaption() const { return *struckThroughCaption_; }
    QWidget& resetAllGroup() const { return *resetAllGroup_; }
    QPushButton& resetAll() const { return *resetAll_; }
    // The confirmation while it is open.
    QMessageBox* resetConfirmation() const;
    QWidget& automationFailureGroup() const { return *automationFailureGroup_; }
    SettingsNoteLabel& automationFailure() const { return *automationFailure_; }
    QPushButton& dismissFailure() const { return *dismissFailure_; }
    SettingsStepper& workspaceLimit() const { return *workspaceLimit_; }
    QComboBox& language() const { return *language_; }
    QWidget& relaunchRow() const { return *relaunchRow_; }
    QPushButton& relaunchNow() const { return *relaunchNow_; }
    SettingsNoteLabel& relaunchError() const { return *relaunchError_; }
    SettingsSwitch& checksAutomatically() const { return *checksAutomatically_; }
    QPushButton& checkForUpdates() const { return *checkForUpdates_; }
    QLabel& lastCheck() const { return *lastCheck_; }

private:
    static std::size_t index(const HotKeyAction& feature);
    void buildBehaviourCard();
    void buildLoginCard();
    void buildDesktopDockCard();
    void buildShortcutsCard();
    void buildWorkspaceCard();
    void buildLanguageCard();
    void buildUpdatesCard();
    QWidget* revealDelayControl();
    // The note on what a recorder was just given stands right under it.
    void placeChordNoteUnder(const HotKeyAction& feature);
    void confirmResetAll();
    void sync();
    void syncShortcuts();

    Alerts& alerts_;
    HotKeys& hotKeys_;
    KeyboardGrabber& keyboardGrabber_;
    const KeyboardLayout& keyboardLayout_;
    GeneralPaneModel model_;
    ShortcutsCardModel card_;
    SettingsPage* page_ = nullptr;

    SettingsSwitch* autoHide_ = nullptr;
    QWidget* revealGroup_ = nullptr;
    ReadoutSlider* revealDelay_ = nullptr;
    QLabel* revealDelayText_ = nullptr;
    SettingsCaption* revealDelayCaption_ = nullptr;
    SegmentedControl* knockTempo_ = nullptr;
    SettingsSwitch* launchBeacon_ = nullptr;
    SettingsSwitch* openAtLogin_ = nullptr;
    // The notes under the login switch, which a click on it brings into sight.
    QWidget* loginNotes_ = nullptr;
    SettingsNoteLabel* approvalNote_ = nullptr;
    SettingsNoteLabel* renamedNote_ = nullptr;
    QWidget* loginErrorGroup_ = nullptr;
    SettingsNoteLabel* loginError_ = nullptr;
    QPushButton* openLoginSettings_ = nullptr;
    SettingsSwitch* hideDesktopDock_ = nullptr;
    SettingsNoteLabel* desktopDockError_ = nullptr;
    SettingsSwitch* globalShortcuts_ = nullptr;
    QWidget* shortcutRows_ = nullptr;
    std::vector<QWidget*> recorderRows_;
    std::vector<ShortcutRecorderView*> recorderViews_;
    // The recorder rows with the note among them.
    QVBoxLayout* recorderList_ = nullptr;
    SettingsNoteLabel* chordNote_ = nullptr;
    SettingsCaption* struckThroughCaption_ = nullptr;
    QWidget* resetAllGroup_ = nullptr;
    QPushButton* resetAll_ = nullptr;
    QPointer<QMessageBox> resetConfirmation_;
    QWidget* automationFailureGroup_ = nullptr;
    SettingsNoteLabel* automationFailure_ = nullptr;
    QPushButton* dismissFailure_ = nullptr;
    SettingsStepper* workspaceLimit_ = nullptr;
    QComboBox* language_ = nullptr;
    QWidget* relaunchRow_ = nullptr;
    QPushButton* relaunchNow_ = nullptr;
    SettingsNoteLabel* relaunchError_ = nullptr;
    SettingsSwitch* checksAutomatically_ = nullptr;
    QPushButton* checkForUpdates_ = nullptr;
    QLabel* lastCheck_ = nullptr;

    Subscription modelChanged_;
    Subscription cardChanged_;
};

}  // namespace quillbern
