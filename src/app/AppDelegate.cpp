#include "app/AppDelegate.h"

#include "core/foundation/Log.h"
#include "core/model/AppearanceStore.h"
#include "core/model/PinnedStore.h"
#include "ui/shell/StatusItem.h"

namespace quillbern {

AppDelegate::AppDelegate(Platform& platform)
    : platform_(platform),
      pinnedStore_(std::make_unique<PinnedStore>(platform.defaults, platform.clock, platform.uuids, platform.text,
                                                 platform.alerts)),
      appearanceStore_(std::make_unique<AppearanceStore>(platform.defaults, platform.appearance)) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching() {
    statusItem_ = std::make_unique<StatusItem>(platform_.quit);
    if (!statusItem_->show()) log("no system tray; the status menu is not shown");
}

void AppDelegate::applicationWillTerminate() { statusItem_.reset(); }

}  // namespace quillbern
