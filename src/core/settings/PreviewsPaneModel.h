#pragma once

#include <vector>

#include "core/foundation/Signal.h"
#include "core/foundation/Subscription.h"
#include "core/windows/PreviewStore.h"

namespace quillbern {

// What the Hover previews pane shows of the preview store, and how its switch and its button
// change it. Main thread.
class PreviewsPaneModel {
public:
    explicit PreviewsPaneModel(PreviewStore& previews);
    PreviewsPaneModel(const PreviewsPaneModel&) = delete;
    PreviewsPaneModel& operator=(const PreviewsPaneModel&) = delete;

    // The switch or the capture grant changed.
    Signal<> changed;

    bool isEnabled() const { return previews_.isEnabled(); }
    // Stored at once; switching on asks for capture access when it is missing.
    void setEnabled(bool on) { previews_.setEnabled(on); }
    // The warning that capture access is missing shows only while previews are on: turning
    // them off takes it away whatever the grant.
    bool showsCaptureWarning() const;
    // The warning's button.
    void askForCaptureAccess() { previews_.ensurePermission(); }

private:
    PreviewStore& previews_;
    std::vector<Subscription> subscriptions_;
};

}  // namespace quillbern
