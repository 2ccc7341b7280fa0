#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "core/foundation/OwnerThread.h"
#include "core/foundation/Subscription.h"

namespace quillbern {

// A multi-listener notification. Slots run in the order connected. During an emission a
// slot may connect, disconnect itself or others, or destroy the signal's owner: slots
// removed before their turn do not run, slots added during an emission wait for the next.
// Used on the thread that made it, as the stores that own signals are; debug builds stop
// at a connection or an emission from another thread.
template <class... Args>
class Signal {
public:
    Signal() : core_(std::make_shared<Core>()) {}
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;
    // Emptied before the slots are released: releasing one may end another subscription.
    ~Signal() { auto released = std::exchange(core_->slots, {}); }

    [[nodiscard]] Subscription connect(std::function<void(Args...)> fn, const char* function = __builtin_FUNCTION(),
                                       const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
        owner_.expectCurrent(function, file, line);
        const std::uint64_t id = ++core_->lastId;
        core_->slots.push_back(std::make_shared<Slot>(Slot{id, std::move(fn), true}));
        return Subscription([weak = std::weak_ptr<Core>(core_), id] {
            if (auto core = weak.lock()) core->disconnect(id);
        });
    }

    void emit(const Args&... args, const char* function = __builtin_FUNCTION(), const char* file = __builtin_FILE(),
              int line = __builtin_LINE()) const {
        owner_.expectCurrent(function, file, line);
        // Holding the core keeps the slot list valid even if a slot destroys the owner.
        const std::shared_ptr<Core> core = core_;
        const std::size_t count = core->slots.size();
        ++core->emitting;
        for (std::size_t i = 0; i < count && i < core->slots.size(); ++i) {
            const std::shared_ptr<Slot> slot = core->slots[i];
            if (slot->connected) slot->fn(args...);
        }
        if (--core->emitting == 0 && core->needsCompaction) core->compact();
    }

    void operator()(const Args&... args, const char* function = __builtin_FUNCTION(),
                    const char* file = __builtin_FILE(), int line = __builtin_LINE()) const {
        emit(args..., function, file, line);
    }

    std::size_t connectionCount() const {
        std::size_t n = 0;
        for (const auto& slot : core_->slots)
            n += slot->connected ? 1 : 0;
        return n;
    }

private:
    struct Slot {
        std::uint64_t id;
        std::function<void(Args...)> fn;
        bool connected;
    };

    struct Core {
        std::vector<std::shared_ptr<Slot>> slots;
        std::uint64_t lastId = 0;
        int emitting = 0;
        bool needsCompaction = false;

        void disconnect(std::uint64_t id) {
            for (auto& slot : slots) {
                if (slot->id != id) continue;
                slot->connected = false;
                if (emitting > 0) {
                    needsCompaction = true;
                } else {
                    compact();
                }
                return;
            }
        }

        // Removed slots are released only once the list is whole again, since releasing
        // one may end another subscription, which re-enters disconnect().
        void compact() {
            std::vector<std::shared_ptr<Slot>> kept;
            std::vector<std::shared_ptr<Slot>> removed;
            for (auto& slot : slots)
                (slot->connected ? kept : removed).push_back(std::move(slot));
            slots = std::move(kept);
            needsCompaction = false;
        }
    };

    std::shared_ptr<Core> core_;
    [[no_unique_address]] OwnerThread owner_;
};

}  // namespace quillbern
