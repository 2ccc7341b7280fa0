#pragma once

#include <cstdint>
#include <memory>
#include <set>

#include "core/platform/Threads.h"
#include "core/platform/WindowCapture.h"

namespace quillbern {

class X11ClientReader;
class XcbConnection;

// Pictures of client windows through the Composite extension: a redirected window keeps
// all its pixels off screen, so a covered part is captured as it is drawn. Works on a
// thread and connection of its own; answers come on that thread. A minimised window has
// no pixels and fails; the preview store keeps its last picture.
class X11WindowCapture final : public WindowCapture {
public:
    static constexpr const char* kThreadName = "quillbern.cap";

    explicit X11WindowCapture(Threads& threads);
    ~X11WindowCapture() override;
    X11WindowCapture(const X11WindowCapture&) = delete;
    X11WindowCapture& operator=(const X11WindowCapture&) = delete;

    // The managed clients but docks and the desktop, with their sizes without decorations.
    void listWindows(std::function<void(Result<std::vector<CapturableWindow>>)> done) override;
    void capture(WindowId id, int widthPx, int heightPx, std::function<void(Result<ImageHandle>)> done) override;

private:
    Result<std::vector<CapturableWindow>> list();
    Result<ImageHandle> picture(WindowId id, int widthPx, int heightPx);
    void redirect(WindowId id);

    std::unique_ptr<XcbConnection> connection_;
    std::unique_ptr<X11ClientReader> reader_;
    bool hasComposite_ = false;
    std::set<WindowId> redirected_;
    // Last, so its thread ends before what its tasks use goes.
    std::unique_ptr<WorkerLoop> loop_;
};

}  // namespace quillbern
