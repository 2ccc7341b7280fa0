#include "core/settings/PreviewsPaneModel.h"

namespace quillbern {

PreviewsPaneModel::PreviewsPaneModel(PreviewStore& previews) : previews_(previews) {
    subscriptions_.push_back(previews_.enabledChanged.connect([this] { changed.emit(); }));
    subscriptions_.push_back(previews_.grantChanged.connect([this] { changed.emit(); }));
}

bool PreviewsPaneModel::showsCaptureWarning() const {
    return previews_.isEnabled() && !previews_.isGranted();
}

}  // namespace quillbern
