#pragma once

#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "core/foundation/Clock.h"
#include "core/platform/WindowAccess.h"
#include "core/platform/WindowList.h"

namespace quillbern {

// A stored attribute; std::monostate is "no value".
using SimValue =
    std::variant<std::monostate, bool, std::string, WindowRole, ElementRef, std::vector<ElementRef>, PointTL, Size>;

// Applications with windows and their attributes, the on-screen list and observers, all in
// memory. Tests script it from their own thread while the worker reads it. Nothing here
// notifies observers by itself: a test fires notifications with notify(), so changes
// without one stay silent, as some applications' do. A test may make it a system that
// announces every change to a change watch instead, as X11 does. Writes change the world as an obliging
// application would, unless a test makes the application ignore or refuse them, delay
// them on virtual time, or hold a window to a minimum size.
class SimWindowSystem final : public WindowAccess, public WindowList {
public:
    struct WindowSpec {
        WindowId id = 0;
        std::string title{};
        RectTL frame{};
        bool onScreen = true;
        bool minimized = false;
        bool fullScreen = false;
        WindowRole role = WindowRole::window;
        bool closable = true;
    };

    // How an application answers a write.
    enum class WriteAnswer { applied, ignored, refused };
    // One write or action, as the application received it.
    struct Call {
        ElementRef element;
        std::string what;  // "minimized=false", "position=(10, 20)", "size=(300, 200)", "raise", "press"
        bool operator==(const Call&) const = default;
    };

    SimWindowSystem() = default;
    // Delayed writes need time; without a clock they take effect at once.
    explicit SimWindowSystem(const Clock& clock) : clock_(&clock) {}
    SimWindowSystem(const SimWindowSystem&) = delete;
    SimWindowSystem& operator=(const SimWindowSystem&) = delete;

    // --- scripting ---
    // An application with an empty window list, not frontmost.
    ElementRef addApp(Pid pid);
    // A window at the end of its application's list, on screen (layer 0) when asked.
    ElementRef addWindow(Pid pid, const WindowSpec& spec);
    // Out of its application's list and off screen; its element answers only failures.
    void removeWindow(ElementRef window);
    void set(ElementRef element, Attribute attribute, SimValue value);
    // The next `times` reads of the attribute fail (-1: every read until cleared with 0).
    void failReads(ElementRef element, Attribute attribute, int times, ReadFailure kind = ReadFailure::failed);
    // What windowId() answers for this element.
    void setWindowIdAnswer(ElementRef window, Read<WindowId> answer);
    // Every read of the application's elements times out while set.
    void setUnresponsive(Pid pid, bool unresponsive);
    // Moves the window: its position, size and on-screen bounds.
    void setFrame(ElementRef window, RectTL frame);
    void setOnScreen(ElementRef window, bool onScreen);
    // An entry of the on-screen list that belongs to no tracked window (menus, panels).
    void addListedWindow(ListedWindow window);
    void setListUnreadable(bool unreadable);

    // Writes of the attribute on this element (position and size included) answer so.
    void setWriteAnswer(ElementRef element, Attribute attribute, WriteAnswer answer);
    // Writes of the attribute take effect `delay` seconds of virtual time after they are made.
    void setWriteDelay(ElementRef element, Attribute attribute, Duration delay);
    // Sizes written below this are raised to it.
    void setMinimumSize(ElementRef window, Size size);
    // Whether writeFrame sets position and size in one step; off, as on systems without one.
    void setWritesFramesAtOnce(bool atOnce) { framesAtOnce_ = atOnce; }

    void setRefusesObserver(Pid pid, bool refuses);
    // Delivers the event on the loop of every observer of the application that asked for it.
    void notify(Pid pid, ElementEvent event);
    // From now on every change, scripted or written, reaches the change watch.
    void setReportsEveryChange(bool reports);
    // Tells the change watch of a change on the calling thread, as a backend that ignores the
    // loop it was given would.
    void reportChangeOffItsLoop();

    // --- observation ---
    int observerCount(Pid pid) const;
    // Events asked for and withdrawn on the application element, in order, over all observers.
    std::vector<ElementEvent> addedEvents(Pid pid) const;
    std::vector<ElementEvent> removedEvents(Pid pid) const;
    std::optional<Duration> timeout(ElementRef element) const;
    int readCount() const { return readCount_; }
    std::vector<Call> calls() const;
    std::vector<Call> calls(ElementRef element) const;

    // --- WindowAccess ---
    ElementRef appElement(Pid pid) override;
    ElementRef systemWideElement() override;
    void setTimeout(ElementRef element, Duration limit) override;
    Read<bool> readBool(ElementRef element, Attribute attribute) override;
    Read<std::string> readString(ElementRef element, Attribute attribute) override;
    Read<WindowRole> readRole(ElementRef window) override;
    Read<ElementRef> readElement(ElementRef element, Attribute attribute) override;
    Read<std::vector<ElementRef>> readElements(ElementRef element, Attribute attribute) override;
    Read<PointTL> readPosition(ElementRef element) override;
    Read<Size> readSize(ElementRef element) override;
    Read<WindowId> windowId(ElementRef window) override;
    bool writeBool(ElementRef element, Attribute attribute, bool value) override;
    bool writePosition(ElementRef window, PointTL origin) override;
    bool writeSize(ElementRef window, Size size) override;
    bool writeFrame(ElementRef window, RectTL frame) override;
    bool perform(ElementRef element, ElementAction action) override;
    std::unique_ptr<AppObserver> observe(Pid pid, WorkerLoop& loop,
                                         std::function<void(ElementEvent, ElementRef)> callback) override;
    Subscription watchChanges(WorkerLoop& loop, Task onChange) override;

    // --- WindowList ---
    std::optional<std::vector<ListedWindow>> onScreenWindows() const override;

private:
    static constexpr std::size_t kAttributeCount = static_cast<std::size_t>(Attribute::closeButton) + 1;

    struct Failing {
        int remaining = 0;
        ReadFailure kind = ReadFailure::failed;
    };
    struct Element {
        Pid pid = 0;
        bool isWindow = false;
        std::array<SimValue, kAttributeCount> values{};
        std::array<Failing, kAttributeCount> failing{};
        Read<WindowId> idAnswer = Read<WindowId>::failure();
        std::optional<Duration> timeout;
        std::array<WriteAnswer, kAttributeCount> writeAnswers{};
        std::array<Duration, kAttributeCount> writeDelays{};
        std::optional<Size> minimumSize;
        // The window a close button closes.
        std::optional<ElementRef> closes;
    };
    struct PendingWrite {
        double due;
        ElementRef element;
        Attribute attribute;
        SimValue value;
    };
    struct App {
        ElementRef element;
        bool unresponsive = false;
        bool refusesObserver = false;
        std::vector<ElementEvent> added;
        std::vector<ElementEvent> removed;
    };
    struct Observer {
        Pid pid;
        WorkerLoop* loop;
        std::shared_ptr<std::function<void(ElementEvent, ElementRef)>> callback;
        std::shared_ptr<std::atomic<bool>> alive;
        std::vector<std::pair<ElementRef, ElementEvent>> added;
    };
    class SimAppObserver;

    ElementRef newElement(Pid pid, bool isWindow);
    // The stored value, or the failure a read meets.
    template <class T>
    Read<T> read(ElementRef element, Attribute attribute);
    App& appLocked(Pid pid);
    void eraseListed(WindowId id);
    void removeWindowLocked(ElementRef window);
    bool write(ElementRef element, Attribute attribute, SimValue value, std::string what);
    // Stores the value with what follows from it (minimized windows leave the screen, a
    // frontmost application makes the others step back, ...).
    void applyLocked(ElementRef element, Attribute attribute, SimValue value);
    void applyDueWritesLocked();
    void setListedBoundsLocked(const Element& element);
    void observerAdded(std::uint64_t observer, ElementRef element, ElementEvent event);
    void observerRemoved(std::uint64_t observer, ElementRef element, ElementEvent event);
    void observerGone(std::uint64_t observer);
    // Tells the change watch, if any, on its loop.
    void changedLocked();

    mutable std::mutex mutex_;
    std::uint64_t nextElement_ = 1;
    std::uint64_t nextObserver_ = 1;
    std::unordered_map<std::uint64_t, Element> elements_;
    std::map<Pid, App> apps_;
    std::map<std::uint64_t, Observer> observers_;
    std::vector<ListedWindow> listed_;
    bool listUnreadable_ = false;
    std::optional<ElementRef> systemWide_;
    const Clock* clock_ = nullptr;
    std::vector<PendingWrite> pending_;
    std::vector<Call> calls_;
    std::atomic<int> readCount_{0};
    std::atomic<bool> framesAtOnce_{false};
    bool reportsEveryChange_ = false;
    struct ChangeWatch {
        WorkerLoop* loop;
        std::shared_ptr<Task> onChange;
    };
    std::optional<ChangeWatch> changeWatch_;
};

}  // namespace quillbern
