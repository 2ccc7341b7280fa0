#pragma once

#include <QWidget>
#include <memory>

#include "core/foundation/FilledByName.h"
#include "core/platform/Alerts.h"
#include "core/platform/Clipboard.h"
#include "core/platform/FileSystem.h"
#include "core/platform/FolderPicker.h"
#include "core/platform/HotKeys.h"
#include "core/platform/Icons.h"
#include "core/platform/KeyboardGrabber.h"
#include "core/settings/AppsCardModel.h"
#include "core/settings/ItemRowsModel.h"
#include "core/settings/ProfileDetailModel.h"
#include "core/shortcuts/ChordText.h"

class QComboBox;
class QLabel;
class QStackedWidget;
class QVBoxLayout;

namespace quillbern {

class AppsCard;
class AutomationCard;
class CommitTextField;
class ItemRows;
class KeycapBadge;
class SegmentedControl;
class SettingsCaption;
class SettingsCard;
class SettingsNoteLabel;
class SettingsPage;
class SettingsRow;
class SettingsSwitch;
class ShortcutRecorderView;

// The editor of one dock, beside the Docks pane's list: the name, the shortcut's badge and
// the switch; the card "Placement" (edge, position, display, open applications, the dock's
// own shortcut, reveal); then the cards below, with the dock's items in "Apps". Controls
// follow the store in place and write to it at once, through the models. One pane serves
// every dock the list selects; a dock that is gone leaves it empty.
class ProfileDetailPane final : public QWidget {
public:
    struct Inputs {
        [[no_unique_address]] FilledByName<Inputs> byName{};
        PinnedStore& pinned;
        DockPreferences& preferences;
        // The chords the system accepted at the last registration.
        std::function<RegisteredChords()> registeredChords;
        // The installed applications, shared with the scans.
        std::shared_ptr<const InstalledAppsScanner> installedApps;
        const KeyboardLayout& keyboardLayout;
        const TextServices& text;
        Screens& screens;
        RunLoop& mainLoop;
        Threads& threads;
        // What the shortcut recorder beeps with, suspends and holds while it listens.
        Alerts& alerts;
        HotKeys& hotKeys;
        KeyboardGrabber& keyboardGrabber;
        const FileSystem& files;
        const Icons& icons;
        FolderPicker& folderPicker;
        Clipboard& clipboard;
    };

    ProfileDetailPane(Inputs inputs, const Uuid& profileID, QWidget* parent = nullptr);
    // What the apps card is handed of them.
    static AppsCardModel::Ports appsCardPorts(const Inputs& inputs);

    void setProfileID(const Uuid& id);
    ProfileDetailModel& model() { return model_; }
    ItemRowsModel& itemsModel() { return items_; }

    // The bodies of the cards "Automation" and "Apps" (which ends with the item rows).
    AutomationCard& automation() const { return *automation_; }
    AppsCard& apps() const { return *apps_; }

    SettingsPage& page() const { return *page_; }
    CommitTextField& nameField() const { return *name_; }
    // Why a name was refused.
    SettingsNoteLabel& nameNote() const { return *nameNote_; }
    KeycapBadge& badge() const { return *badge_; }
    SettingsSwitch& enabledSwitch() const { return *enabled_; }
    SegmentedControl& edgePicker() const { return *edge_; }
    SegmentedControl& positionPicker() const { return *position_; }
    QComboBox& displayPicker() const { return *display_; }
    SettingsSwitch& openAppsSwitch() const { return *openApps_; }
    ShortcutRecorderView& recorder() const { return *recorderView_; }
    // "Global shortcuts are off", shown instead of the recorder.
    QLabel& shortcutsOff() const { return *shortcutsOff_; }
    SettingsNoteLabel& chordNote() const { return *note_; }
    SegmentedControl& revealPicker() const { return *reveal_; }
    SettingsCaption& revealCaption() const { return *revealCaption_; }
    ItemRows& itemRows() const { return *itemRows_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* makeHeader();
    SettingsCard* makePlacementCard(const Inputs& inputs);
    void sync();
    void syncDisplays();

    ChordText chordText_;
    ProfileDetailModel model_;
    ItemRowsModel items_;
    SettingsPage* page_;
    CommitTextField* name_ = nullptr;
    SettingsNoteLabel* nameNote_ = nullptr;
    KeycapBadge* badge_ = nullptr;
    SettingsSwitch* enabled_ = nullptr;
    SegmentedControl* edge_ = nullptr;
    SegmentedControl* position_ = nullptr;
    QComboBox* display_ = nullptr;
    SettingsRow* openAppsRow_ = nullptr;
    SettingsSwitch* openApps_ = nullptr;
    QStackedWidget* shortcut_ = nullptr;
    ShortcutRecorderView* recorderView_ = nullptr;
    QLabel* shortcutsOff_ = nullptr;
    SettingsNoteLabel* note_ = nullptr;
    SegmentedControl* reveal_ = nullptr;
    SettingsCaption* revealCaption_ = nullptr;
    AutomationCard* automation_ = nullptr;
    AppsCard* apps_ = nullptr;
    SettingsCard* appsCard_ = nullptr;
    ItemRows* itemRows_ = nullptr;
    Subscription changed_;
};

}  // namespace quillbern
