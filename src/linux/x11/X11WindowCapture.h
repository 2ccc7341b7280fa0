#pragma once

#include <memory>

#include "core/platform/Threads.h"
#include "core/platform/WindowCapture.h"

namespace quillbern {

// Pictures of client windows through the Composite extension: a redirected window keeps
// all its pixels off screen, so a covered part is captured as it is drawn. Works on a
// thread and connection of its own; answers come on that thread. A minimised window has
// no pixels and fails; the preview store keeps its last picture.
class X11WindowCapture final : public WindowCapture {
public:
    static constexpr const char* kThreadName = "quillbern.cap";

    explicit X11WindowCapture(Threads& threads);
    // Stops first.
    ~X11WindowCapture() override;
    X11WindowCapture(const X11WindowCapture&) = delete;
    X11WindowCapture& operator=(const X11WindowCapture&) = delete;

    // The managed clients but docks and the desktop, with their sizes without decorations.
    void listWindows(std::function<void(Result<std::vector<CapturableWindow>>)> done) override;
    void capture(WindowId id, int widthPx, int heightPx, std::function<void(Result<ImageHandle>)> done) override;

    // Ends the worker, waiting for it within WorkerStop's limit: one stuck on the server is
    // left behind with what its task holds. Later requests fail.
    void stop();

private:
    class Capturer;

    Threads& threads_;
    // What the worker uses, shared with its tasks, which may outlive this.
    std::shared_ptr<Capturer> capturer_;
    std::unique_ptr<WorkerLoop> loop_;
};

}  // namespace quillbern
