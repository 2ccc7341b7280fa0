#include "core/windows/AppWatcher.h"

#include "core/windows/AccessFunctions.h"

namespace quillbern {

AppWatcher::AppWatcher(WindowAccess& access, Pid pid, WorkerLoop& loop, std::function<void()> onChange)
    : access_(access), pid_(pid), appElement_(access.appElement(pid)), loop_(loop), onChange_(std::move(onChange)) {}

AppWatcher::~AppWatcher() {
    uninstall();
}

bool AppWatcher::install() {
    access_.setTimeout(appElement_, kMessagingTimeout);
    // The callback holds its own copy, so a notification already on its way stays harmless
    // after the watcher is gone.
    observer_ = access_.observe(pid_, loop_, [onChange = onChange_](ElementEvent, ElementRef) { onChange(); });
    if (!observer_) return false;
    // An application that refuses one notification still sends the others.
    for (const ElementEvent event : kEvents)
        observer_->add(appElement_, event);
    return true;
}

void AppWatcher::uninstall() {
    if (!observer_) return;
    for (const ElementEvent event : kEvents)
        observer_->remove(appElement_, event);
    observer_.reset();
}

}  // namespace quillbern
