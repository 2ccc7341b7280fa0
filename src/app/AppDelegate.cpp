#include "app/AppDelegate.h"

#include "core/foundation/Log.h"
#include "ui/shell/StatusItem.h"

namespace quillbern {

AppDelegate::AppDelegate(Services services) : services_(std::move(services)) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching() {
    statusItem_ = std::make_unique<StatusItem>(services_.quit);
    if (!statusItem_->show()) log("no system tray; the status menu is not shown");
}

void AppDelegate::applicationWillTerminate() { statusItem_.reset(); }

}  // namespace quillbern
