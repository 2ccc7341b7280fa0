#pragma once

#include <QWidget>
#include <memory>

#include "core/settings/SettingsSection.h"
#include "core/settings/SettingsServices.h"
#include "core/settings/SupportPaneModel.h"
#include "ui/settings/GeneralPane.h"
#include "ui/settings/ProfileDetailPane.h"

namespace quillbern {

// The pane of a section, made anew each time the section is chosen, handed only what it
// uses of the window's services. A section without a pane of its own shows an empty page
// under its title.
//
// Adding a pane: write its class in src/ui/settings (a QWidget whose body is a
// SettingsPage, built from the stores and ports it uses, following the pane rules in
// docs/ARCHITECTURE.md), and make it from its section's case in SettingsPanes.cpp.
std::unique_ptr<QWidget> makeSettingsPane(SettingsSection section, const SettingsServices& services);

// What the panes with more than a few inputs are handed, filled by name here only.
GeneralPane::Inputs generalPaneInputs(const SettingsServices& services);
// The Docks pane's too: its list shows the stores its editor is handed.
ProfileDetailPane::Inputs dockEditorInputs(const SettingsServices& services);
SupportPaneModel::Ports supportPanePorts(const SettingsServices& services);

}  // namespace quillbern
