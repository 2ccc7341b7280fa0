#include "ui/settings/GeneralPane.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "core/foundation/Localization.h"
#include "core/shortcuts/HotKeyBindings.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/settings/ReadoutSlider.h"
#include "ui/settings/SegmentedControl.h"
#include "ui/settings/SettingsCaption.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsPage.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/SettingsStepper.h"
#include "ui/settings/SettingsSwitch.h"
#include "ui/settings/SettingsTheme.h"
#include "ui/settings/ShortcutRecorderView.h"

namespace quillbern {

namespace {

constexpr double kCalloutSize = 12;
constexpr double kSmallButtonTextSize = 11;
constexpr int kRevealDelaySliderWidth = 190;
constexpr int kRevealDelaySpacing = 10;
constexpr int kLanguagePickerMaximumWidth = 200;
constexpr int kSymbolSide = 14;
constexpr int kStepperMinimumWidth = 64;

QString text(const std::string& english) {
    return QString::fromStdString(english);
}

std::string_view recorderSymbol(HotKeyAction::Kind kind) {
    switch (kind) {
        case HotKeyAction::Kind::overview:
            return "rectangle.split.3x1";
        case HotKeyAction::Kind::search:
            return "magnifyingglass";
        case HotKeyAction::Kind::files:
            return "folder";
        case HotKeyAction::Kind::focusMode:
            return "circle.dashed.inset.filled";
        case HotKeyAction::Kind::workspace:
            return "rectangle.grid.2x2";
        case HotKeyAction::Kind::cheatSheet:
            return "keyboard";
        case HotKeyAction::Kind::peekDocks:
            return "eye";
        case HotKeyAction::Kind::profile:
            break;
    }
    return "command.square";
}

void setTone(QWidget& widget, SettingsTone tone) {
    QPalette colours = widget.palette();
    const QColor colour = SettingsTheme::tone(tone, colours);
    colours.setColor(QPalette::WindowText, colour);
    colours.setColor(QPalette::ButtonText, colour);
    widget.setPalette(colours);
}

QLabel* symbolLabel(std::string_view symbol, const QColor& colour, const QWidget& owner) {
    auto* label = new QLabel;
    showIconIn(*label, symbolIcon(symbol, colour, kSymbolSide, owner.devicePixelRatioF()), kSymbolSide);
    label->setFixedSize(kSymbolSide, kSymbolSide);
    return label;
}

QPushButton* smallButton(const QString& title) {
    auto* button = new QPushButton(title);
    button->setFont(fontOfSize(kSmallButtonTextSize));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return button;
}

// Rows that come and go together, in a column of their own.
QWidget* group(QVBoxLayout*& layout) {
    auto* widget = new QWidget;
    layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return widget;
}

}  // namespace

GeneralPane::GeneralPane(Inputs inputs, QWidget* parent)
    : QWidget(parent),
      alerts_(inputs.alerts),
      hotKeys_(inputs.hotKeys),
      keyboardGrabber_(inputs.keyboardGrabber),
      keyboardLayout_(inputs.shortcuts.keyboardLayout),
      model_(std::move(inputs.general)),
      card_(std::move(inputs.shortcuts)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    page_ = new SettingsPage;
    page_->setAccessibleName(localized("General"));
    layout->addWidget(page_);

    buildBehaviourCard();
    buildLoginCard();
    buildDesktopDockCard();
    buildShortcutsCard();
    buildWorkspaceCard();
    buildLanguageCard();
    buildUpdatesCard();

    card_.appeared();
    sync();
    modelChanged_ = model_.changed.connect([this] { sync(); });
    cardChanged_ = card_.changed.connect([this] { syncShortcuts(); });
}

GeneralPane::~GeneralPane() = default;

QMessageBox* GeneralPane::resetConfirmation() const {
    return resetConfirmation_.data();
}

std::size_t GeneralPane::index(const HotKeyAction& feature) {
    const auto* found = std::find(kFeatureOrder.begin(), kFeatureOrder.end(), feature);
    return static_cast<std::size_t>(found - kFeatureOrder.begin());
}

void GeneralPane::buildBehaviourCard() {
    auto* card = page_->addCard(new SettingsCard);
    autoHide_ = new SettingsSwitch;
    connect(autoHide_, &SettingsSwitch::clicked, this, [this](bool on) { model_.setAutoHide(on); });
    card->addRow(new SettingsRow(localized("Auto-hide Quillbern"), "eye.slash", autoHide_));
    card->addCaption(
        localized("Each dock reappears when the cursor reaches its own stretch of its screen edge — not the whole "
                  "side."));

    QVBoxLayout* reveal = nullptr;
    revealGroup_ = card->addWidget(group(reveal));
    reveal->addWidget(new SettingsRowDivider);
    // TRANSLATORS: how long the pointer must rest at a busy screen edge before a hidden dock
    // comes out.
    reveal->addWidget(new SettingsRow(localized("Reveal delay"), "timer", revealDelayControl()));
    revealDelayCaption_ = new SettingsCaption({});
    reveal->addWidget(revealDelayCaption_);
    reveal->addWidget(new SettingsCaption(
        localized("The delay applies where the edge is busy: the top edge (where top panels live) and "
                  "boundaries between displays. When an app fills the screen, its edges answer to a knock instead. "
                  "Any dock can require the knock at all times: its Reveal option, in Docks. Elsewhere the dock "
                  "appears on contact.")));
    reveal->addWidget(new SettingsRowDivider);
    // TRANSLATORS: the tempos of the knock (a tap on the screen edge, then a second one), from
    // the quickest to the slowest.
    knockTempo_ = new SegmentedControl({localized("Brisk"), localized("Standard"), localized("Relaxed")});
    knockTempo_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(knockTempo_, &SegmentedControl::activated, this, [this](int chosen) {
        model_.setKnockTempo(static_cast<DockPreferences::KnockTempo>(std::clamp(chosen, 0, 2)));
    });
    // TRANSLATORS: a knock is a tap on the screen edge followed by a second one, which brings a
    // hidden dock out; the tempo is how quick the two must be.
    reveal->addWidget(new SettingsRow(localized("Knock tempo"), "metronome", knockTempo_));
    reveal->addWidget(
        new SettingsCaption(localized("One rhythm for the hand: how brief a tap must be, and how long the edge then "
                                      "waits for the second one. The glowing line shows the window at every tempo.")));

    card->addDivider();
    launchBeacon_ = new SettingsSwitch;
    connect(launchBeacon_, &SettingsSwitch::clicked, this, [this](bool on) { model_.setLaunchBeacon(on); });
    // TRANSLATORS: the name of a feature: a mark at the centre of the screen while an app starts.
    card->addRow(new SettingsRow(localized("Launch beacon"), "rays", launchBeacon_));
    card->addCaption(
        localized("A launch tab appears at the center of the screen while an app starts — its ring completes when the "
                  "app has arrived."));
}

QWidget* GeneralPane::revealDelayControl() {
    const SliderScale scale = GeneralPaneModel::revealDelayScale();
    // Told to assistive tools in seconds, the readout's unit.
    revealDelay_ = new ReadoutSlider(scale.last, {scale.value(0), scale.value(scale.last), 0.12});
    revealDelay_->setFixedWidth(kRevealDelaySliderWidth);
    revealDelay_->setAccessibleName(localized("Reveal delay"));
    connect(revealDelay_, &ReadoutSlider::moved, this,
            [this](int position) { model_.setRevealDelayPosition(position); });

    revealDelayText_ = new QLabel;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(static_cast<int>(kCalloutSize));
    revealDelayText_->setFont(font);
    setTone(*revealDelayText_, SettingsTone::secondary);

    auto* control = new QWidget;
    auto* layout = new QHBoxLayout(control);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kRevealDelaySpacing);
    layout->addWidget(revealDelayText_, 0, Qt::AlignVCenter);
    const QColor secondary = SettingsTheme::tone(SettingsTone::secondary, palette());
    auto* slider = new QHBoxLayout;
    slider->setSpacing(4);
    slider->addWidget(symbolLabel("hare", secondary, *this), 0, Qt::AlignVCenter);
    slider->addWidget(revealDelay_, 0, Qt::AlignVCenter);
    slider->addWidget(symbolLabel("tortoise", secondary, *this), 0, Qt::AlignVCenter);
    layout->addLayout(slider);
    return control;
}

void GeneralPane::buildLoginCard() {
    auto* card = page_->addCard(new SettingsCard);
    openAtLogin_ = new SettingsSwitch;
    connect(openAtLogin_, &SettingsSwitch::clicked, this, [this](bool on) {
        model_.setOpensAtLogin(on);
        // The service may leave the item as it was without a word.
        sync();
        bringIntoSight(*loginNotes_);
    });
    card->addRow(new SettingsRow(localized("Open at login"), "power", openAtLogin_));
    QVBoxLayout* notes = nullptr;
    loginNotes_ = card->addWidget(group(notes));
    approvalNote_ = new SettingsNoteLabel;
    notes->addWidget(approvalNote_);
    renamedNote_ = new SettingsNoteLabel;
    notes->addWidget(renamedNote_);
    QVBoxLayout* error = nullptr;
    loginErrorGroup_ = group(error);
    notes->addWidget(loginErrorGroup_);
    error->setSpacing(6);
    loginError_ = new SettingsNoteLabel;
    error->addWidget(loginError_);
    openLoginSettings_ = smallButton(localized("Open Settings…"));
    connect(openLoginSettings_, &QPushButton::clicked, this, [this] { model_.openLoginSettings(); });
    error->addWidget(openLoginSettings_, 0, Qt::AlignLeft);
}

void GeneralPane::buildDesktopDockCard() {
    auto* card = page_->addCard(new SettingsCard);
    hideDesktopDock_ = new SettingsSwitch;
    connect(hideDesktopDock_, &SettingsSwitch::clicked, this, [this](bool on) {
        model_.setHidesDesktopDock(on);
        sync();
        bringIntoSight(*desktopDockError_);
    });
    card->addRow(new SettingsRow(localized("Hide the desktop's dock"), "dock.rectangle", hideDesktopDock_));
    card->addCaption(
        localized("Uses the dock's own auto-hide. Your original settings are saved and restored when Quillbern quits "
                  "(or at next launch)."));
    desktopDockError_ = card->addWidget(new SettingsNoteLabel);
}

void GeneralPane::buildShortcutsCard() {
    auto* card = page_->addCard(new SettingsCard);
    globalShortcuts_ = new SettingsSwitch;
    connect(globalShortcuts_, &SettingsSwitch::clicked, this, [this](bool on) { card_.setHotkeysEnabled(on); });
    card->addRow(new SettingsRow(localized("Global shortcuts"), "command.square", globalShortcuts_));
    const ChordText& chords = card_.chordText();
    const auto digit = [&chords](std::size_t position) {
        return chords.display({HotKeyBindings::kDockDigitKeys.at(position), HotKeyChord::kControlCommand});
    };
    card->addCaption(
        text(trf("Docks 1 to 9 answer to %@ to %@ and the tenth to %@, unless you give a dock its own "
                 "shortcut in Docks. Each shortcut below can be changed: click it and press the "
                 "combination you want.",
                 digit(0), digit(8), digit(9))));

    QVBoxLayout* rows = nullptr;
    shortcutRows_ = card->addWidget(group(rows));
    recorderList_ = rows;
    rows->addWidget(new SettingsRowDivider);
    for (const HotKeyAction& feature : kFeatureOrder) {
        const QString title = text(HotKeyBindings::label(feature));
        // What the recorder is given is told right under it.
        ShortcutRecorder::Callbacks told;
        told.onRecord = [this, feature](const HotKeyChord& chord) {
            placeChordNoteUnder(feature);
            card_.record(feature, chord);
        };
        told.onWeak = [this, feature] {
            placeChordNoteUnder(feature);
            card_.weakKey();
        };
        told.onReset = [this, feature] { card_.reset(feature); };
        told.onUnusableKey = [this, feature](const std::string& key) {
            placeChordNoteUnder(feature);
            card_.unusableKey(key);
        };
        auto* view = new ShortcutRecorderView(
            std::make_unique<ShortcutRecorder>(alerts_, hotKeys_, keyboardGrabber_, card_.chordText(), std::move(told)),
            keyboardLayout_);
        // Named by its action, as a screen reader reads the row.
        view->setAccessibleName(title);
        auto* row = new SettingsRow(title, recorderSymbol(feature.kind()), view);
        rows->addWidget(row);
        recorderRows_.push_back(row);
        recorderViews_.push_back(view);
    }
    chordNote_ = new SettingsNoteLabel;
    chordNote_->layout()->setContentsMargins(0, 0, 0, 8);
    rows->addWidget(chordNote_);
    struckThroughCaption_ =
        new SettingsCaption(localized("A struck-through shortcut could not be registered at all — click it and record "
                                      "another."));
    rows->addWidget(struckThroughCaption_);
    rows->addWidget(new SettingsCaption(
        localized("There is no way to know in advance whether another app already owns a shortcut: a desktop may "
                  "keep one for itself. If one of these does nothing when you press it, that is why — record a "
                  "different combination and it will work.")));
    QVBoxLayout* reset = nullptr;
    resetAllGroup_ = group(reset);
    rows->addWidget(resetAllGroup_);
    reset->addWidget(new SettingsRowDivider);
    resetAll_ = new QPushButton(localized("Reset all shortcuts"));
    resetAll_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(resetAll_, &QPushButton::clicked, this, [this] { confirmResetAll(); });
    reset->addWidget(new SettingsRow(resetAll_, nullptr));
    reset->addWidget(
        new SettingsCaption(localized("Puts the shortcuts above and every dock's own back to what Quillbern ships "
                                      "with. The switch at the top is left alone — turning shortcuts off is a "
                                      "separate decision.")));

    QVBoxLayout* failure = nullptr;
    automationFailureGroup_ = card->addWidget(group(failure));
    failure->addWidget(new SettingsRowDivider);
    automationFailure_ = new SettingsNoteLabel;
    failure->addWidget(automationFailure_);
    dismissFailure_ = new QPushButton(localized("Dismiss"));
    dismissFailure_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(dismissFailure_, &QPushButton::clicked, this, [this] { card_.dismissAutomationFailure(); });
    failure->addWidget(new SettingsRow(dismissFailure_, nullptr));
}

void GeneralPane::buildWorkspaceCard() {
    auto* card = page_->addCard(new SettingsCard);
    workspaceLimit_ = new SettingsStepper(2, 10);
    workspaceLimit_->setMinimumWidth(kStepperMinimumWidth);
    connect(workspaceLimit_, &SettingsStepper::valueChanged, this,
            [this](int count) { model_.setWorkspaceLimit(count); });
    card->addRow(new SettingsRow(localized("Workspace app limit"), "rectangle.grid.2x2", workspaceLimit_));
    card->addCaption(text(
        trf("Drop app tiles onto the desktop to build a workspace: windows tile automatically, in "
            "the order you add them. Show or hide it with %@.",
            card_.chordText().display(HotKeyBindings::defaultChord(HotKeyAction(HotKeyAction::Kind::workspace))))));
}

void GeneralPane::buildLanguageCard() {
    auto* card = page_->addCard(new SettingsCard);
    language_ = new QComboBox;
    language_->setMaximumWidth(kLanguagePickerMaximumWidth);
    // TRANSLATORS: the language picker's first choice: the language of the system.
    language_->addItem(localized("System"), QString::fromUtf8(GeneralPaneModel::kSystemLanguage.data(),
                                                              GeneralPaneModel::kSystemLanguage.size()));
    language_->insertSeparator(1);
    // Each named in its own language, never translated.
    for (const InterfaceLanguage& entry : kInterfaceLanguages) {
        language_->addItem(QString::fromUtf8(entry.label.data(), static_cast<qsizetype>(entry.label.size())),
                           QString::fromUtf8(entry.code.data(), static_cast<qsizetype>(entry.code.size())));
    }
    connect(language_, &QComboBox::activated, this, [this](int chosen) {
        const QString value = language_->itemData(chosen).toString();
        if (!value.isEmpty()) model_.chooseLanguage(value.toStdString());
        bringIntoSight(*relaunchRow_);
    });
    card->addRow(new SettingsRow(localized("Language"), "globe", language_));

    QVBoxLayout* relaunch = nullptr;
    relaunchRow_ = card->addWidget(group(relaunch));
    auto* takesEffect = new QWidget;
    auto* label = new QHBoxLayout(takesEffect);
    label->setContentsMargins(0, 0, 0, 0);
    label->setSpacing(6);
    label->addWidget(symbolLabel("arrow.triangle.2.circlepath", SettingsTheme::warning(palette()), *this));
    auto* words = new QLabel(localized("Takes effect after Quillbern relaunches."));
    words->setFont(fontOfSize(kCalloutSize));
    setTone(*words, SettingsTone::warning);
    label->addWidget(words);
    relaunchNow_ = smallButton(localized("Relaunch Now"));
    connect(relaunchNow_, &QPushButton::clicked, this, [this] {
        model_.relaunch();
        bringIntoSight(*relaunchRow_);
    });
    relaunch->addWidget(new SettingsRow(takesEffect, relaunchNow_));
    relaunchError_ = new SettingsNoteLabel;
    relaunch->addWidget(relaunchError_);
    card->addCaption(localized("Quillbern follows your system's language unless you choose one here."));
}

void GeneralPane::buildUpdatesCard() {
    auto* card = page_->addCard(new SettingsCard);
    checksAutomatically_ = new SettingsSwitch;
    connect(checksAutomatically_, &SettingsSwitch::clicked, this, [this](bool on) {
        model_.setChecksAutomatically(on);
        sync();
    });
    card->addRow(new SettingsRow(localized("Check for updates automatically"), "arrow.triangle.2.circlepath",
                                 checksAutomatically_));
    card->addDivider();
    checkForUpdates_ = new QPushButton(localized("Check for Updates…"));
    checkForUpdates_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(checkForUpdates_, &QPushButton::clicked, this, [this] {
        model_.checkForUpdates();
        sync();
    });
    lastCheck_ = new QLabel;
    lastCheck_->setFont(fontOfSize(kCalloutSize));
    setTone(*lastCheck_, SettingsTone::secondary);
    card->addRow(new SettingsRow(checkForUpdates_, lastCheck_));
    card->addCaption(text(model_.updatesCaption()));
}

void GeneralPane::placeChordNoteUnder(const HotKeyAction& feature) {
    recorderList_->removeWidget(chordNote_);
    recorderList_->insertWidget(recorderList_->indexOf(recorderRows_.at(index(feature))) + 1, chordNote_);
    // Once the model has said what the note is, if any.
    bringIntoSight(*chordNote_);
}

void GeneralPane::confirmResetAll() {
    if (resetConfirmation_) return;
    auto* box = new QMessageBox(this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    const QString title = localized("Reset every shortcut you recorded?");
    box->setWindowTitle(title);
    box->setText(title);
    QPushButton* reset =
        box->addButton(text(trn("Reset the %lld shortcut you recorded", "Reset the %lld shortcuts you recorded",
                                card_.recordedCount(), card_.recordedCount())),
                       QMessageBox::DestructiveRole);
    setTone(*reset, SettingsTone::destructive);
    box->addButton(QMessageBox::Cancel);
    box->setDefaultButton(QMessageBox::Cancel);
    connect(box, &QMessageBox::finished, this, [this, box, reset] {
        if (box->clickedButton() == reset) card_.resetAll();
    });
    resetConfirmation_ = box;
    box->open();
}

void GeneralPane::sync() {
    {
        const QSignalBlocker quiet(autoHide_);
        autoHide_->setChecked(model_.autoHide());
    }
    revealGroup_->setVisible(model_.autoHide());
    const QString delay = text(model_.revealDelayText());
    revealDelay_->display(model_.revealDelayPosition(), model_.revealDelay(), delay);
    revealDelayText_->setText(delay);
    revealDelayCaption_->setText(text(GeneralPaneModel::revealDelayCaption(model_.revealDelay())));
    knockTempo_->setCurrentIndex(static_cast<int>(model_.knockTempo()));
    {
        const QSignalBlocker quiet(launchBeacon_);
        launchBeacon_->setChecked(model_.launchBeacon());
    }

    {
        const QSignalBlocker quiet(openAtLogin_);
        openAtLogin_->setChecked(model_.opensAtLogin());
    }
    const GeneralPaneModel::LoginNotes notes = model_.loginNotes();
    approvalNote_->setNote(notes.approval);
    renamedNote_->setNote(notes.renamed);
    loginError_->setNote(notes.error);
    openLoginSettings_->setVisible(notes.offersSettings);
    loginErrorGroup_->setVisible(notes.error.has_value());
    loginNotes_->setVisible(notes.approval || notes.renamed || notes.error);

    {
        const QSignalBlocker quiet(hideDesktopDock_);
        hideDesktopDock_->setChecked(model_.hidesDesktopDock());
    }
    desktopDockError_->setNote(model_.desktopDockNote());

    {
        const QSignalBlocker quiet(workspaceLimit_);
        workspaceLimit_->setValue(model_.workspaceLimit());
    }

    {
        const QSignalBlocker quiet(language_);
        language_->setCurrentIndex(language_->findData(text(model_.languageSelection())));
    }
    relaunchRow_->setVisible(model_.offersRelaunch());
    relaunchError_->setNote(model_.relaunchNote());

    {
        const QSignalBlocker quiet(checksAutomatically_);
        checksAutomatically_->setChecked(model_.checksAutomatically());
    }
    checksAutomatically_->setEnabled(model_.hasUpdater());
    checkForUpdates_->setEnabled(model_.canCheckForUpdates());
    const auto lastCheck = model_.lastCheckText();
    lastCheck_->setText(lastCheck ? text(*lastCheck) : QString());
    lastCheck_->setVisible(lastCheck.has_value());

    syncShortcuts();
}

void GeneralPane::syncShortcuts() {
    {
        const QSignalBlocker quiet(globalShortcuts_);
        globalShortcuts_->setChecked(card_.hotkeysEnabled());
    }
    shortcutRows_->setVisible(card_.hotkeysEnabled());
    const std::vector<HotKeyAction> shown = card_.shownActions();
    for (const HotKeyAction& feature : kFeatureOrder) {
        const std::size_t at = index(feature);
        recorderRows_.at(at)->setVisible(std::find(shown.begin(), shown.end(), feature) != shown.end());
        recorderViews_.at(at)->recorder().setRow(
            {card_.effectiveChord(feature), card_.isCustom(feature), card_.isLive(feature)});
    }
    chordNote_->setNote(card_.note());
    struckThroughCaption_->setVisible(card_.showsStruckThroughCaption());
    resetAllGroup_->setVisible(card_.offersResetAll());
    const auto& failure = card_.automationFailure();
    automationFailure_->setNote(failure ? std::optional(SettingsNote{*failure, SettingsNoteStyle::warning})
                                        : std::nullopt);
    automationFailureGroup_->setVisible(failure.has_value());
}

}  // namespace quillbern
