#pragma once

#include <QWidget>
#include <memory>

#include "core/settings/SettingsSection.h"
#include "core/settings/SettingsServices.h"

namespace quillbern {

// The pane of a section, made anew each time the section is chosen and destroyed, with
// every subscription it holds, when another one is. A section without a pane of its own
// shows an empty page under its title.
//
// Adding a pane: write its class in src/ui/settings (a QWidget whose body is a
// SettingsPage, built from `const SettingsServices&`, following the pane rules in
// docs/ARCHITECTURE.md), and return it from its section's case in SettingsPanes.cpp.
std::unique_ptr<QWidget> makeSettingsPane(SettingsSection section, const SettingsServices& services);

}  // namespace quillbern
