#include "ui/settings/ProfileDetailPane.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/foundation/Localization.h"
#include "core/settings/ShortcutRecording.h"
#include "core/shortcuts/HotKeyBindings.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/settings/AppsCard.h"
#include "ui/settings/AutomationCard.h"
#include "ui/settings/CommitTextField.h"
#include "ui/settings/ItemRows.h"
#include "ui/settings/KeycapBadge.h"
#include "ui/settings/SegmentedControl.h"
#include "ui/settings/SettingsCaption.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsPage.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/SettingsSwitch.h"
#include "ui/settings/SettingsTheme.h"
#include "ui/settings/ShortcutRecorderView.h"

namespace quillbern {

namespace {

constexpr int kHeaderSpacing = 10;
constexpr double kNameSize = 20;
constexpr int kDisplayMaximum = 280;
constexpr int kNoteSpace = 6;
constexpr std::array kRevealModes{RevealMode::hover, RevealMode::knock};
constexpr std::array kAlignments{DockAlignment::leading, DockAlignment::center, DockAlignment::trailing};

QString text(const std::string& english) {
    return QString::fromStdString(english);
}

template <class Value, std::size_t N>
int indexOf(const std::array<Value, N>& values, Value value) {
    return int(std::ranges::find(values, value) - values.begin());
}

QStringList helpsOf(const std::vector<PickerSegment>& segments) {
    QStringList helps;
    for (const PickerSegment& segment : segments)
        helps << text(segment.help);
    return helps;
}

// The segments read as their help, which also names them for assistive tools.
void relabel(SegmentedControl& picker, const std::vector<PickerSegment>& segments) {
    for (int i = 0; i < picker.count(); ++i) {
        const QString help = text(segments.at(std::size_t(i)).help);
        if (picker.segment(i).text() == help) continue;
        picker.segment(i).setText(help);
        picker.segment(i).setToolTip(help);
    }
    picker.updateGeometry();
}

void setNameOf(QWidget& control, const std::string& name) {
    if (control.accessibleName() != text(name)) control.setAccessibleName(text(name));
}

}  // namespace

ProfileDetailPane::ProfileDetailPane(Inputs inputs, const Uuid& profileID, QWidget* parent)
    : QWidget(parent),
      chordText_(inputs.keyboardLayout, inputs.text),
      model_(ProfileDetailModel::Inputs{.pinned = inputs.pinned,
                                        .preferences = inputs.preferences,
                                        .registeredChords = std::move(inputs.registeredChords),
                                        .chordText = chordText_,
                                        .screens = inputs.screens,
                                        .mainLoop = inputs.mainLoop,
                                        .threads = inputs.threads,
                                        .installedApps = inputs.installedApps},
             profileID),
      items_(inputs.pinned, inputs.files.userDirectory(UserDirectory::home).value_or(std::string()), profileID),
      page_(new SettingsPage) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page_);
    page_->addWidget(makeHeader());
    page_->addCard(makePlacementCard(inputs));

    automation_ = new AutomationCard(inputs.clipboard, inputs.mainLoop, profileID);
    page_->addCard(new SettingsCard(localized("Automation")))->addWidget(automation_);

    // TRANSLATORS: the card listing what is pinned to a dock.
    appsCard_ = page_->addCard(new SettingsCard(localized("Apps")));
    PinnedStore& pinned = inputs.pinned;
    const bool namesTrash = inputs.files.userDirectory(UserDirectory::trash).has_value();
    itemRows_ = new ItemRows(
        items_, [&pinned](const PinnedApp& app) { return qIcon(pinned.icon(app)); },
        [&icons = inputs.icons](const std::string& path) { return qIcon(icons.fileIcon(path)); },
        namesTrash ? trashIcon(false) : QIcon());
    apps_ = new AppsCard(appsCardPorts(inputs), profileID);
    apps_->setItemRows(itemRows_);
    appsCard_->addWidget(apps_);

    name_->showOwner(profileID);
    changed_ = model_.changed.connect([this] { sync(); });
    sync();
}

AppsCardModel::Ports ProfileDetailPane::appsCardPorts(const Inputs& inputs) {
    return {.pinned = inputs.pinned,
            .text = inputs.text,
            .files = inputs.files,
            .folderPicker = inputs.folderPicker,
            .icons = inputs.icons};
}

QWidget* ProfileDetailPane::makeHeader() {
    auto* header = new QWidget;
    auto* column = new QVBoxLayout(header);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* row = new QHBoxLayout;
    row->setSpacing(kHeaderSpacing);
    column->addLayout(row);
    name_ = new CommitTextField(
        [this](const Uuid& owner, const std::string& name) {
            model_.rename(owner, name);
            // A name refused is told under the field, which may have been scrolled away since.
            bringIntoSight(*nameNote_);
        },
        [this](const Uuid& owner) { return model_.nameOf(owner); });
    name_->setPlaceholderText(localized("Name"));
    name_->setFrame(false);
    name_->setFont(fontOfSize(kNameSize, kHeadingWeight));
    name_->setAccessibleName(localized("Dock name"));
    row->addWidget(name_, 1);
    badge_ = new KeycapBadge(QString());
    row->addWidget(badge_);
    row->addStretch(0);
    enabled_ = new SettingsSwitch;
    connect(enabled_, &SettingsSwitch::clicked, this, [this](bool on) {
        model_.setEnabled(on);
        sync();
    });
    row->addWidget(enabled_);
    nameNote_ = new SettingsNoteLabel;
    nameNote_->setContentsMargins(0, kNoteSpace, 0, 0);
    column->addWidget(nameNote_);
    return header;
}

SettingsCard* ProfileDetailPane::makePlacementCard(const Inputs& inputs) {
    // TRANSLATORS: where a dock stands: its screen edge, its position along it and its display.
    auto* card = new SettingsCard(localized("Placement"));

    edge_ = new SegmentedControl(helpsOf(ProfileDetailModel::edgeSegments()));
    relabel(*edge_, ProfileDetailModel::edgeSegments());
    connect(edge_, &SegmentedControl::activated, this, [this](int index) {
        model_.setEdge(kAllDockEdges.at(std::size_t(index)));
        sync();
    });
    card->addRow(new SettingsRow(localized("Edge"), "rectangle.dashed", edge_));
    card->addDivider();

    position_ = new SegmentedControl(helpsOf(ProfileDetailModel::positionSegments(DockEdge::bottom)));
    connect(position_, &SegmentedControl::activated, this, [this](int index) {
        model_.setAlignment(kAlignments.at(std::size_t(index)));
        sync();
    });
    card->addRow(new SettingsRow(localized("Position"), "arrow.left.and.right.righttriangle.left.righttriangle.right",
                                 position_));
    card->addCaption(
        localized("Where the dock sits along its edge — and where it answers: a hidden dock only returns "
                  "when the cursor reaches ITS stretch of the edge, never the whole side of the screen."));
    card->addDivider();

    display_ = new QComboBox;
    display_->setMaximumWidth(kDisplayMaximum);
    display_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // Only the user's choice writes: a change made while syncing says nothing here.
    connect(display_, &QComboBox::activated, this, [this](int index) {
        model_.chooseDisplay(display_->itemData(index).toString().toStdString());
        sync();
    });
    // TRANSLATORS: the monitor a dock is shown on.
    card->addRow(new SettingsRow(localized("Display"), "display", display_));
    card->addDivider();

    openApps_ = new SettingsSwitch;
    // TRANSLATORS: apps that are running ("open" as a state): whether the dock also shows those it
    // has not pinned.
    openApps_->setAccessibleName(localized("Open apps"));
    connect(openApps_, &SettingsSwitch::clicked, this, [this](bool on) {
        model_.setShowsWindows(on);
        sync();
    });
    openAppsRow_ = card->addRow(new SettingsRow(localized("Open apps"), "macwindow.on.rectangle", openApps_));
    openAppsRow_->setToolTip(localized("Also shows this screen's running apps that aren't pinned"));
    card->addDivider();

    shortcut_ = new QStackedWidget;
    recorderView_ =
        new ShortcutRecorderView(std::make_unique<ShortcutRecorder>(
                                     inputs.alerts, inputs.hotKeys, inputs.keyboardGrabber, chordText_,
                                     // What the recorder is given is told in the note under it, scrolled into sight.
                                     ShortcutRecorder::Callbacks{.onRecord =
                                                                     [this](const HotKeyChord& chord) {
                                                                         model_.record(chord);
                                                                         bringIntoSight(*note_);
                                                                     },
                                                                 .onWeak =
                                                                     [this] {
                                                                         model_.weakKey();
                                                                         bringIntoSight(*note_);
                                                                     },
                                                                 .onReset = [this] { model_.resetChord(); },
                                                                 .onUnusableKey =
                                                                     [this](const std::string& key) {
                                                                         model_.unusableKey(key);
                                                                         bringIntoSight(*note_);
                                                                     }}),
                                 inputs.keyboardLayout);
    recorderView_->setAccessibleName(localized("Shortcut"));
    shortcut_->addWidget(recorderView_);
    shortcutsOff_ = new QLabel(localized("Global shortcuts are off"));
    QPalette secondary = shortcutsOff_->palette();
    secondary.setColor(QPalette::WindowText, SettingsTheme::tone(SettingsTone::secondary, palette()));
    shortcutsOff_->setPalette(secondary);
    shortcut_->addWidget(shortcutsOff_);
    shortcut_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    card->addRow(new SettingsRow(localized("Shortcut"), "command.square", shortcut_));
    note_ = new SettingsNoteLabel;
    note_->setContentsMargins(0, kNoteSpace, 0, 0);
    card->addWidget(note_);
    const auto digit = [this](std::size_t position) {
        return chordText_.display({HotKeyBindings::kDockDigitKeys.at(position), HotKeyChord::kControlCommand});
    };
    card->addCaption(QString::fromStdString(
        trf("Docks without a shortcut of their own answer to %@ to %@ by their position in the list, and the tenth "
            "to %@ — so reordering the list moves those. A shortcut you record here belongs to THIS dock and "
            "follows it.",
            digit(0), digit(8), digit(9))));
    card->addDivider();

    // TRANSLATORS: how a hidden dock is brought out: when the pointer reaches its edge, or only by a
    // knock (a tap on the edge followed by a second one).
    reveal_ = new SegmentedControl({localized("On hover"), localized("Knock")});
    connect(reveal_, &SegmentedControl::activated, this, [this](int index) {
        model_.setRevealMode(kRevealModes.at(std::size_t(index)));
        sync();
    });
    // TRANSLATORS: the row that chooses how a hidden dock is brought out.
    card->addRow(new SettingsRow(localized("Reveal"), "hand.tap", reveal_));
    revealCaption_ = card->addCaption(QString());
    return card;
}

void ProfileDetailPane::setProfileID(const Uuid& id) {
    // A name typed for the dock shown until now goes to that dock first.
    name_->showOwner(id);
    items_.setProfileID(id);
    apps_->setProfile(id);
    automation_->setProfile(id);
    model_.setProfileID(id);
    sync();
}

void ProfileDetailPane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    model_.appeared();
}

void ProfileDetailPane::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    model_.disappeared();
}

void ProfileDetailPane::sync() {
    const Profile* found = model_.profile();
    page_->setVisible(found != nullptr);
    if (!found) return;
    const Profile dock = *found;
    setNameOf(*page_, dock.name);
    name_->ownerChanged();
    nameNote_->setNote(model_.nameNote());

    const std::optional<std::string> badge = model_.badge();
    badge_->setVisible(badge.has_value());
    if (badge && badge_->text() != text(*badge)) badge_->setText(text(*badge));
    if (badge) {
        badge_->setStruckThrough(!model_.recorderRow().isLive,
                                 text(ShortcutRecording::struckThroughDescription(*badge)));
    }
    enabled_->setChecked(dock.isEnabled);
    enabled_->setToolTip(text(model_.enableHelp()));
    setNameOf(*enabled_, model_.enableName());

    edge_->setCurrentIndex(indexOf(kAllDockEdges, dock.edge));
    setNameOf(*edge_, model_.edgeName());
    relabel(*position_, ProfileDetailModel::positionSegments(dock.edge));
    position_->setCurrentIndex(indexOf(kAlignments, dock.alignment));
    setNameOf(*position_, model_.positionName());
    syncDisplays();
    openApps_->setChecked(dock.showsWindows);

    shortcut_->setCurrentWidget(model_.hotkeysEnabled() ? static_cast<QWidget*>(recorderView_) : shortcutsOff_);
    recorderView_->recorder().setRow(model_.recorderRow());
    note_->setNote(model_.chordNote());

    reveal_->setCurrentIndex(indexOf(kRevealModes, dock.revealMode));
    setNameOf(*reveal_, model_.revealName());
    revealCaption_->setText(text(model_.revealCaption()));
    itemRows_->sync();
    // A scan that answered since: the apps card searches its list.
    if (model_.hasScanned() && model_.installed() != apps_->model().installed())
        apps_->model().setInstalled(model_.installed());
}

void ProfileDetailPane::syncDisplays() {
    const std::vector<DisplayEntry> entries = model_.displayEntries();
    bool same = display_->count() == int(entries.size());
    for (int i = 0; same && i < display_->count(); ++i) {
        same = display_->itemData(i).toString() == text(entries[std::size_t(i)].tag) &&
               display_->itemText(i) == text(entries[std::size_t(i)].title);
    }
    const QSignalBlocker quiet(display_);
    if (!same) {
        display_->clear();
        for (const DisplayEntry& entry : entries)
            display_->addItem(text(entry.title), text(entry.tag));
    }
    display_->setCurrentIndex(display_->findData(text(model_.selectedDisplayTag())));
    setNameOf(*display_, model_.displayName());
}

}  // namespace quillbern
