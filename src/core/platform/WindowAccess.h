#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "core/foundation/Geometry.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Time.h"
#include "core/platform/Types.h"

namespace quillbern {

// Opaque handle of an application, a window or a part of a window.
struct ElementRef {
    std::uint64_t value = 0;
    bool operator==(const ElementRef&) const = default;
};

enum class Attribute {
    frontmost,
    focusedWindow,
    mainWindow,
    windows,
    role,
    minimized,
    fullScreen,
    title,
    position,
    size,
    hidden,
    main,
    focused,
    closeButton,
};

// What a window element is: an ordinary window, which the window list tracks, or anything
// else an application lists among its windows (a sheet, a dialog's part, a menu).
enum class WindowRole { window, other };

enum class ElementAction { raise, press };

enum class ElementEvent {
    windowCreated,
    focusedWindowChanged,
    mainWindowChanged,
    windowMinimized,
    windowRestored,
    windowMoved,
    windowResized,
    titleChanged,
};

enum class ReadFailure { failed, notImplemented };

// The answer of one attribute read. "No value" is an ordinary answer; a failure (an error
// or a time-out) is not, and counts against the application where it matters.
template <class T>
class Read {
public:
    static Read of(T value) { return Read(std::move(value)); }
    static Read noValue() { return Read(std::monostate{}); }
    static Read failure(ReadFailure why = ReadFailure::failed) { return Read(why); }

    bool hasValue() const { return state_.index() == 1; }
    bool isFailure() const { return state_.index() == 2; }
    bool isNotImplemented() const { return isFailure() && std::get<2>(state_) == ReadFailure::notImplemented; }
    const T& value() const { return std::get<1>(state_); }
    // The value; a failure counts as no value.
    std::optional<T> optional() const { return hasValue() ? std::optional<T>(value()) : std::nullopt; }

private:
    template <class State>
    explicit Read(State state) : state_(std::move(state)) {}
    std::variant<std::monostate, T, ReadFailure> state_;
};

// Change notifications of one application; destroying it removes them all.
class AppObserver {
public:
    virtual ~AppObserver() = default;
    // Asks for `event` on `element`; false when the application refused.
    virtual bool add(ElementRef element, ElementEvent event) = 0;
    virtual void remove(ElementRef element, ElementEvent event) = 0;
};

// Reads, changes and observes other applications' windows. Worker thread only.
class WindowAccess {
public:
    virtual ~WindowAccess() = default;

    virtual ElementRef appElement(Pid pid) = 0;
    // Bounds every call that has no time-out of its own.
    virtual ElementRef systemWideElement() = 0;
    // Calls on this element that take longer fail.
    virtual void setTimeout(ElementRef element, Duration limit) = 0;

    virtual Read<bool> readBool(ElementRef element, Attribute attribute) = 0;
    virtual Read<std::string> readString(ElementRef element, Attribute attribute) = 0;
    // The window's role (Attribute::role).
    virtual Read<WindowRole> readRole(ElementRef window) = 0;
    virtual Read<ElementRef> readElement(ElementRef element, Attribute attribute) = 0;
    virtual Read<std::vector<ElementRef>> readElements(ElementRef element, Attribute attribute) = 0;
    virtual Read<PointTL> readPosition(ElementRef element) = 0;
    virtual Read<Size> readSize(ElementRef element) = 0;
    // The window's number; failure(notImplemented) where the system cannot tell it at all.
    virtual Read<WindowId> windowId(ElementRef window) = 0;

    // False when the application refused; true does not promise it complied.
    virtual bool writeBool(ElementRef element, Attribute attribute, bool value) = 0;
    virtual bool writePosition(ElementRef window, PointTL origin) = 0;
    virtual bool writeSize(ElementRef window, Size size) = 0;
    // Moves and sizes the window in one step, as one request where the system takes one;
    // false where it has no such step, and the caller writes position and size apart.
    virtual bool writeFrame(ElementRef window, RectTL frame) = 0;
    virtual bool perform(ElementRef element, ElementAction action) = 0;

    // The callback runs on `loop` for every event added; nullptr when refused.
    virtual std::unique_ptr<AppObserver> observe(Pid pid, WorkerLoop& loop,
                                                 std::function<void(ElementEvent, ElementRef)> callback) = 0;
    // Where every change of what the reads here and the system's on-screen list answer
    // arrives as an event, `onChange` runs on `loop` after each batch of them, and a read
    // with no change since the last one costs the system nothing. An empty subscription
    // where changes go unannounced and must be polled.
    [[nodiscard]] virtual Subscription watchChanges(WorkerLoop& loop, Task onChange) = 0;
};

}  // namespace quillbern

template <>
struct std::hash<quillbern::ElementRef> {
    std::size_t operator()(const quillbern::ElementRef& ref) const noexcept {
        return std::hash<std::uint64_t>{}(ref.value);
    }
};
