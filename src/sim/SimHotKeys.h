#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "core/platform/HotKeys.h"

namespace quillbern {

// Global chords in memory. A test says which chords other applications hold, can make the
// handler fail to install, presses and releases chords as a person would, and reads back
// what is grabbed and how often the system was asked.
class SimHotKeys final : public HotKeys {
public:
    // A live grab: the chord and the id it was given.
    struct Grabbed {
        std::uint32_t keyCode = 0;
        std::uint32_t modifiers = 0;
        std::uint32_t id = 0;
        bool operator==(const Grabbed&) const = default;
    };
    struct Live {
        Grabbed grabbed;
        bool down = false;
    };

    SimHotKeys();
    ~SimHotKeys() override;

    int setHandler(std::function<void(const HotKeyEvent&)> handler) override;
    void clearHandler() override;
    HotKeyRegistration grab(KeyCode keyCode, std::uint32_t modifiers, std::uint32_t id) override;
    void setSuspended(bool suspended) override { suspended_ = suspended; }

    // Another application holds this chord from now on.
    void takeByOtherApplication(std::uint32_t keyCode, std::uint32_t modifiers);
    // setHandler answers this error from now on; 0 lets it install again.
    void failHandlerWith(int status) { handlerFailure_ = status; }
    // A person presses or lets go of a chord: the handler hears it when the chord is
    // grabbed and grabs are not suspended; as on a real keyboard, a grab reports a press
    // once until its release, and a release only after its own press. False when nothing
    // heard it.
    bool press(std::uint32_t keyCode, std::uint32_t modifiers);
    bool release(std::uint32_t keyCode, std::uint32_t modifiers);
    // An event as the system sends it, a stale one too.
    void deliver(const HotKeyEvent& event);

    bool hasHandler() const { return static_cast<bool>(handler_); }
    bool isSuspended() const { return suspended_; }
    // In the order they were grabbed.
    std::vector<Grabbed> grabs() const;
    // Every grab asked for, refused ones included, and every grab given back.
    int grabRequests() const { return grabRequests_; }
    int releasedGrabs() const { return *released_; }

private:
    bool send(std::uint32_t keyCode, std::uint32_t modifiers, bool pressed);

    std::function<void(const HotKeyEvent&)> handler_;
    int handlerFailure_ = 0;
    bool suspended_ = false;
    std::set<std::pair<std::uint32_t, std::uint32_t>> takenByOthers_;
    // Shared with the grab handles, which may outlive the backend.
    std::shared_ptr<std::map<std::uint64_t, Live>> live_;
    std::shared_ptr<int> released_;
    std::uint64_t nextSerial_ = 1;
    int grabRequests_ = 0;
};

}  // namespace quillbern
