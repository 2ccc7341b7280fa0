#pragma once

namespace quillbern {

// How assistive tools see the Settings controls Qt does not know: a switch as a check box
// and a segment as a radio button, each with its state and its press; an editor row as a
// list item offering its removal as an action named by the row's remove help; a dock's row
// as a button that can be selected, with its removal as an action. Installs itself once.
void installSettingsAccessibility();

}  // namespace quillbern
