#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/foundation/Signal.h"
#include "core/platform/Icons.h"

namespace quillbern {

// Placeholder icons tagged with what they stand for, so tests can tell them apart:
// an entry's path, "window:" and a pid, or "generic". Records every request of an
// entry's icon.
class SimIcons final : public Icons {
public:
    ImageHandle appIcon(const Path& appPath) const override;
    ImageHandle fileIcon(const Path& path) const override;
    // Only for processes given a window picture.
    ImageHandle runningAppIcon(Pid pid) const override;
    ImageHandle genericAppIcon() const override;
    Subscription onChanged(Task changed) const override;

    // The tag of the source an icon was made for.
    static std::string tagOf(const ImageHandle& icon);
    const std::vector<Path>& requests() const { return requests_; }
    const std::vector<Path>& fileRequests() const { return fileRequests_; }
    // An entry that names no icon the themes have.
    void withoutIcon(const Path& appPath) { withoutIcon_.push_back(appPath); }
    void giveWindowIcon(Pid pid) { windowIcons_.push_back(pid); }
    // Its icon installed while the program runs: the entry's picture from now on, and the icons tell.
    void installIcon(const Path& appPath);
    // How many window pictures were made, and how many of them something still holds.
    std::size_t windowIconsMade() const { return windowIconsMade_.size(); }
    std::size_t windowIconsHeld() const;
    // Every icon also carries a small picture, for views that draw them.
    void givePictures() { givesPictures_ = true; }

private:
    ImageHandle tagged(std::string tag) const;

    bool givesPictures_ = false;
    mutable std::vector<Path> requests_;
    mutable std::vector<Path> fileRequests_;
    std::vector<Path> withoutIcon_;
    std::vector<Pid> windowIcons_;
    mutable std::vector<std::weak_ptr<const Image>> windowIconsMade_;
    mutable Signal<> changed_;
};

}  // namespace quillbern
