#include "core/shell/Walkthrough.h"

#include "core/foundation/Localization.h"

namespace quillbern {

Walkthrough::Walkthrough(Services services, std::function<void()> onFinished)
    : services_(services), onFinished_(std::move(onFinished)) {
    const auto tell = [this] { changed.emit(); };
    observers_.push_back(services_.engine.trustChanged.connect(tell));
    observers_.push_back(services_.previews.enabledChanged.connect(tell));
    observers_.push_back(services_.previews.grantChanged.connect(tell));
    observers_.push_back(services_.loginItem.changed.connect(tell));
    observers_.push_back(services_.suppressor.changed.connect(tell));
}

std::string_view Walkthrough::stepSymbol() const {
    switch (step_) {
        case Step::welcome:
            return "display";
        case Step::windowAccess:
            return "square.stack.3d.up.fill";
        case Step::previews:
            return "photo.on.rectangle.angled";
        case Step::comfort:
            break;
    }
    return "slider.horizontal.3";
}

Walkthrough::Forward Walkthrough::forward() const {
    if (step_ == Step::comfort) return Forward::finish;
    if (step_ == Step::windowAccess && !hasWindowAccess()) return Forward::later;
    return Forward::continueOn;
}

std::string Walkthrough::forwardTitle() const {
    switch (forward()) {
        case Forward::finish:
            // TRANSLATORS: the walkthrough's forward button: on its last card, on a card whose
            // permission is still missing (ask again later), and on the others.
            return tr("Finish");
        case Forward::later:
            return tr("Later");
        case Forward::continueOn:
            break;
    }
    return tr("Continue");
}

void Walkthrough::previous() {
    if (showsPrevious()) moveTo(Step(int(step_) - 1));
}

void Walkthrough::pressForward() {
    if (forward() == Forward::finish) return exit();
    moveTo(Step(int(step_) + 1));
}

void Walkthrough::pressReturn() {
    if (forwardTakesReturn()) return pressForward();
    allowWindowAccess();
}

void Walkthrough::exit() {
    // A copy: the host may destroy this walkthrough while closing its window.
    if (const auto finished = onFinished_) finished();
}

void Walkthrough::allowWindowAccess() {
    services_.windowAccess.promptRepairingStaleEntry();
}

void Walkthrough::setPreviewsEnabled(bool enabled) {
    services_.previews.setEnabled(enabled);
}

bool Walkthrough::showsCaptureHelp() const {
    return services_.previews.isEnabled() && !services_.previews.isGranted();
}

void Walkthrough::allowScreenCapture() {
    services_.previews.ensurePermission();
}

bool Walkthrough::opensAtLogin() const {
    return services_.loginItem.status() == LoginStatus::enabled;
}

bool Walkthrough::loginNeedsApproval() const {
    return services_.loginItem.status() == LoginStatus::requiresApproval;
}

void Walkthrough::setOpensAtLogin(bool on) {
    services_.loginItem.setEnabled(on);
}

void Walkthrough::setHidesDesktopDock(bool on) {
    services_.suppressor.setEnabled(on);
}

void Walkthrough::moveTo(Step step) {
    if (step == step_) return;
    step_ = step;
    changed.emit();
}

}  // namespace quillbern
