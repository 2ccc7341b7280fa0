#include "core/palettes/FileSearchController.h"

#include "core/foundation/Localization.h"
#include "core/foundation/Log.h"
#include "core/foundation/Utf8.h"
#include "core/model/DockName.h"
#include "core/platform/OpenDocument.h"

namespace quillbern {

namespace {

constexpr KeyCode kReturn = 36, kEnter = 76, kTab = 48, kDelete = 51, kDown = 125, kUp = 126;
// Arrow keys carry these; they never stop a Command key from being one.
constexpr EventFlags kNumericPadFlag = 0x200000, kFunctionKeyFlag = 0x800000;
constexpr EventFlags kDeviceIndependentFlags = 0xFFFF0000;

}  // namespace

FileSearchController::FileSearchController(Ports ports, PinnedStore& pinned)
    : ports_(std::move(ports)),
      pinned_(pinned),
      engine_(
          {.mainLoop = ports_.palette.mainLoop, .threads = ports_.threads, .files = ports_.files, .text = ports_.text}),
      presenter_(ports_.palette, PalettePlacement::searchLine, [this] { dismiss(); }) {
    // The menu tracks the click itself; the palette goes once the menu has closed.
    presenter_.holdWhile([this] { return isPickerMenuOpen_; }, [this] { pickerSawOutsideClick_ = true; });
    presenter_.standAsideWhile([this] { return standDownForPermissionPrompt(); });
}

bool FileSearchController::isShown() const {
    return presenter_.isShown();
}

void FileSearchController::show() {
    expectOnLoop(ports_.palette.mainLoop);
    dismiss();
    const std::optional<ScreenInfo> screen = presenter_.screenForShowing();
    if (!screen) return;
    state_ = std::make_shared<FileSearchState>(FileSearchState::Ports{.mainLoop = ports_.palette.mainLoop,
                                                                      .engine = engine_,
                                                                      .files = ports_.files,
                                                                      .text = ports_.text,
                                                                      .icons = ports_.icons},
                                               pinned_.profiles());
    state_->onLevelLoaded = lifetime_.guard([this] { levelLoadSettled(); });

    FileSearchViewInputs inputs;
    inputs.state = state_;
    inputs.text = &ports_.text;
    inputs.clock = &ports_.clock;
    inputs.activate = lifetime_.guard([this](const FileEntry& entry) { activate(entry); });
    inputs.picker =
        lifetime_.guard([this](const FileEntry& entry) { showPickerMenu(entry, ports_.palette.input.pointer()); });
    if (ports_.launcher.canOpenSystemSettings(SystemSettingsPage::filesPrivacy)) {
        inputs.openSettings = lifetime_.guard([this] {
            dismiss();
            ports_.launcher.openSystemSettings(SystemSettingsPage::filesPrivacy);
        });
    }
    inputs.onShapeChange = lifetime_.guard([this] { presenter_.contentShapeChanged(); });
    std::shared_ptr<PaletteView> view = ports_.palette.views.fileSearch(std::move(inputs));
    view_ = view;

    PanelKeyHandlers keys;
    keys.onCancel = lifetime_.guard([this] {
        // The first Escape clears a query, the second closes.
        if (state_ && !state_->query().empty()) {
            state_->setQuery("");
        } else {
            dismiss();
        }
    });
    keys.onKey = [this, token = lifetime_.token()](const KeyEvent& key) { return token.isAlive() && handleKey(key); };
    keys.onKeyEquivalent = [this, token = lifetime_.token()](const KeyEvent& key) {
        return token.isAlive() && handleKeyEquivalent(key);
    };
    presenter_.present(*screen, std::move(view), std::move(keys));
}

void FileSearchController::dismiss() {
    expectOnLoop(ports_.palette.mainLoop);
    presenter_.dismiss([this] {
        // Whatever the queue still brings for this opening finds its task cancelled.
        if (state_) state_->cancelTasks();
        state_.reset();
        view_.reset();
    });
}

bool FileSearchController::standDownForPermissionPrompt() const {
    if (!state_ || !state_->isLoadingLevel() || !ports_.folderAccessPrompt) return false;
    const std::optional<RunningApp> front = ports_.apps.frontmostApp();
    return front && front->appId == ports_.folderAccessPrompt;
}

void FileSearchController::levelLoadSettled() {
    Panel* panel = presenter_.panel();
    if (!panel || !panel->isVisible() || panel->isKey() || isPickerMenuOpen_) return;
    panel->makeKeyAndOrderFront();
    focusField();
}

void FileSearchController::focusField() {
    if (const std::shared_ptr<PaletteView> view = view_.lock()) view->focusField();
}

void FileSearchController::activate(const FileEntry& entry) {
    expectOnLoop(ports_.palette.mainLoop);
    if (!state_) return;
    if (entry.isFolder) {
        state_->enter(entry);
        return;
    }
    dismiss();
    openDocument(ports_.launcher, ports_.alerts, entry.path);
}

bool FileSearchController::handleKey(const KeyEvent& key) {
    expectOnLoop(ports_.palette.mainLoop);
    if (!state_) return false;
    switch (key.keyCode.value_or(~KeyCode(0))) {
        case kReturn:
        case kEnter:
            if (const std::optional<FileEntry> selected = state_->selectedEntry()) activate(*selected);
            return true;
        case kTab:
            state_->move((key.flags & kShiftFlag) ? -1 : +1);
            return true;
        case kDown:
            state_->move(+1);
            return true;
        case kUp:
            state_->move(-1);
            return true;
        case kDelete:
            if (state_->query().empty()) {
                state_->goUp();
            } else {
                focusField();
            }
            return true;
        default:
            if (key.flags & (kCommandFlag | kControlFlag)) return false;
            // The key itself is dropped: typing goes on in the field.
            focusField();
            return true;
    }
}

bool FileSearchController::handleKeyEquivalent(const KeyEvent& key) {
    expectOnLoop(ports_.palette.mainLoop);
    const EventFlags held = key.flags & kDeviceIndependentFlags & ~(kNumericPadFlag | kFunctionKeyFlag);
    if (held != kCommandFlag || !state_ || !key.keyCode) return false;
    const KeyCode code = *key.keyCode;
    if (code == kReturn || code == kEnter) {
        const std::optional<FileEntry> selected = state_->selectedEntry();
        if (!selected) return false;
        showPickerMenu(*selected, std::nullopt);
        return true;
    }
    if (code == kUp) {
        state_->goUp();
        return true;
    }
    const auto digit = std::ranges::find(kPaletteDigitKeyCodes, code);
    if (digit == kPaletteDigitKeyCodes.end()) return false;
    const std::optional<FileEntry> selected = state_->selectedEntry();
    if (!selected || selected->isFolder) return false;
    const auto n = static_cast<std::size_t>(digit - kPaletteDigitKeyCodes.begin());
    const std::vector<OpenWithCandidate> candidates = openWithCandidates(ports_.launcher, selected->path);
    if (n < candidates.size()) openFile(*selected, candidates[n].app.path);
    return true;
}

MenuModel FileSearchController::pickerMenu(const FileEntry& entry) {
    std::vector<MenuItem> items;
    const auto item = [](std::string title, bool enabled, Task action) {
        MenuItem line;
        line.title = std::move(title);
        line.enabled = enabled;
        line.action = std::move(action);
        return line;
    };
    if (entry.isFolder) {
        // The store keeps only names and paths that are text.
        const bool pinnable = isValidUtf8(entry.path);
        for (const Profile& dock : pinned_.profiles()) {
            const bool holds = pinned_.hasLocation(entry.path, dock.id);
            MenuItem line = item(nameInText(dock.name), pinnable && !holds, nullptr);
            line.checked = holds;
            if (line.enabled) {
                line.action =
                    lifetime_.guard([this, path = entry.path, id = dock.id] { pinned_.pinLocation(path, id); });
            }
            items.push_back(std::move(line));
        }
        items.push_back(MenuItem::separator());
        items.push_back(item(tr("Open in File Manager"), true, lifetime_.guard([this, entry] { reveal(entry); })));
    } else {
        items.push_back(item(tr("Open with"), false, nullptr));
        const std::vector<OpenWithCandidate> candidates = openWithCandidates(ports_.launcher, entry.path);
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            const OpenWithCandidate& candidate = candidates[i];
            MenuItem line = item(candidate.app.name, true,
                                 lifetime_.guard([this, entry, app = candidate.app.path] { openFile(entry, app); }));
            if (i < kLabelledDigits) line.keyEquivalent = digitRowLabel(ports_.layout, i);
            // Only the desktop's own default earns the mark, never merely the first listed.
            line.checked = i == 0 && candidate.isDefault;
            line.icon = ports_.icons.appIcon(candidate.app.path);
            items.push_back(std::move(line));
        }
        items.push_back(MenuItem::separator());
        items.push_back(item(tr("Show in File Manager"), true, lifetime_.guard([this, entry] { reveal(entry); })));
    }
    MenuModel menu;
    menu.append(items);
    return menu;
}

void FileSearchController::showPickerMenu(const FileEntry& entry, std::optional<PointBL> at) {
    expectOnLoop(ports_.palette.mainLoop);
    const Panel* panel = presenter_.panel();
    if (!panel || !state_) return;
    const std::uint64_t serial = panel->serial();
    const RectBL frame = panel->frame();
    const Point point = at ? Point{at->x - frame.x, frame.maxY() - at->y} : kKeyboardPickerPoint;
    const MenuModel menu = pickerMenu(entry);

    isPickerMenuOpen_ = true;
    pickerSawOutsideClick_ = false;
    ports_.menus.popUp(menu, *panel, point);
    isPickerMenuOpen_ = false;

    // A choice that closed the palette leaves nothing to come back to.
    Panel* still = presenter_.panel();
    if (!still || still->serial() != serial) return;
    if (pickerSawOutsideClick_) {
        dismiss();
        return;
    }
    still->makeKeyAndOrderFront();
    focusField();
}

void FileSearchController::openFile(const FileEntry& entry, const Path& appPath) {
    dismiss();
    ports_.launcher.openWith({entry.path}, appPath);
}

void FileSearchController::reveal(const FileEntry& entry) {
    dismiss();
    if (entry.isFolder) {
        openDocument(ports_.launcher, ports_.alerts, entry.path);
    } else {
        ports_.launcher.reveal({entry.path});
    }
}

}  // namespace quillbern
