#include "app/LinuxPlatform.h"

#include <QApplication>

#include "core/foundation/JsonFileDefaults.h"
#include "linux/IcuTextServices.h"
#include "linux/LinuxSystemAppearance.h"
#include "linux/QtRunLoop.h"
#include "ui/foundation/QtAlerts.h"

namespace quillbern {

LinuxPlatform::LinuxPlatform()
    : mainLoop_(std::make_unique<QtRunLoop>()),
      defaults_(JsonFileDefaults::openDomain("defaults", clock_)),
      text_(std::make_unique<IcuTextServices>()),
      alerts_(std::make_unique<QtAlerts>()),
      appearance_(std::make_unique<LinuxSystemAppearance>()),
      ports_(std::make_unique<Platform>(Platform{*mainLoop_, clock_, *defaults_, uuids_, *text_, *alerts_,
                                                 *appearance_, [] { QApplication::quit(); }})) {}

LinuxPlatform::~LinuxPlatform() = default;

}  // namespace quillbern
