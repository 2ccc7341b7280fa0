#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>

#include "core/foundation/Lifetime.h"
#include "core/platform/ScreenGeometry.h"
#include "core/platform/WindowAccess.h"
#include "core/platform/WindowList.h"
#include "linux/x11/X11ClientTable.h"
#include "linux/x11/XcbConnection.h"

namespace quillbern {

class X11HiddenApps;
class X11UserTime;

// Other applications' windows as an accessibility tree emulated over EWMH and ICCCM, on
// a connection of its own: an application is the owner of windows (ClientFacts::pid: the
// process the server saw connect, else the window's connection), its windows the managed
// clients of it, a window's number its X id and its frame
// the outer frame in top-left global space. Changes go to the window manager as client
// messages. While observers or a change watch are installed, the server reports every
// property and structure change of the root and the clients: the client table is read
// again only after such a report, and then only the stacking, the active window and the
// facts of the windows reported; observers hear what changed between two readings, the
// change watch that something did, and reads in between cost the server nothing.
// The on-screen list is the same table's mapped windows, without minimised and desktop
// windows, front to back. Our own windows and docks are never listed as an application's.
// An application is hidden while a window our hiding minimised stays minimised; showing it
// restores every window that hiding minimised, those of its other processes too.
// Requests to bring windows forward carry the time of the user's input that caused them; while
// watching, those made in one task of the loop (the application to the front, then its
// window raised, made main and focused) go out as one, for the window asked last, once the
// task ends.
// Worker thread only (the list too), observers on the loop of the first; while a watch holds
// that loop, debug builds stop at a call from another thread.
class X11WindowAccess final : public WindowAccess, public WindowList {
public:
    // Bounds calls before anyone sets a time-out.
    static constexpr Duration kDefaultTimeout = 2.0;
    // One pass over all windows reads the client table once.
    static constexpr Duration kTableReuse = 0.05;

    // `desktopSpace` tells, on any thread, where the primary display stands; `hidden` what
    // our hiding of applications did; `userTime`, if given, when the user last gave us input
    // (without it requests carry no time).
    X11WindowAccess(std::function<DesktopSpace()> desktopSpace, X11HiddenApps& hidden,
                    const X11UserTime* userTime = nullptr);
    ~X11WindowAccess() override;
    X11WindowAccess(const X11WindowAccess&) = delete;
    X11WindowAccess& operator=(const X11WindowAccess&) = delete;

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
    // One request with position and size: some window managers (fluxbox) take a request that
    // moves alone as one that also resizes, and grow the window by its title bar.
    bool writeFrame(ElementRef window, RectTL frame) override;
    bool perform(ElementRef element, ElementAction action) override;

    std::unique_ptr<AppObserver> observe(Pid pid, WorkerLoop& loop,
                                         std::function<void(ElementEvent, ElementRef)> callback) override;
    Subscription watchChanges(WorkerLoop& loop, Task onChange) override;

    std::optional<std::vector<ListedWindow>> onScreenWindows() const override;

    // How often the client table was read from the server, for tests and benchmarks.
    int tableReadings() const { return tableReadings_; }

private:
    class Observer;
    struct Subscriber {
        Pid pid;
        std::set<ElementEvent> wanted;
        std::shared_ptr<std::function<void(ElementEvent, ElementRef)>> callback;
    };
    // The atoms of the requests the window manager understands.
    struct Atoms {
        std::uint32_t activeWindow, changeState, state, fullScreen, moveResize, close, restack;
    };

    // The client table: while watching, the last reading unless the server reported a
    // change since; otherwise read anew unless a fresh one is at hand. Null when unreadable.
    const ClientTable* table(ElementRef forCall);
    std::optional<ClientTable> readTable(const DesktopSpace& space, std::chrono::steady_clock::time_point deadline,
                                         std::optional<KnownClients> known = std::nullopt);
    // The facts of a window element's window; null when gone or unreadable.
    const ClientFacts* facts(ElementRef window);
    std::chrono::steady_clock::time_point deadlineFor(ElementRef element) const;
    bool isListed(const ClientFacts& facts) const;
    void changed();
    bool activate(const ClientFacts& facts);
    // Asks to activate the window, or where `raise` to bring it forward (a window that takes
    // no focus is raised), with the requests of the same task.
    bool bringForwardSoon(const ClientFacts& facts, bool raise);
    void sendForward();
    xcb_timestamp_t userTime() const;
    bool isHidden(Pid pid);
    // Shows what our hiding of the application minimised; true when nothing was hidden.
    bool show(Pid pid);
    bool send(const ClientFacts& facts, std::uint32_t type, std::uint32_t d0, std::uint32_t d1 = 0,
              std::uint32_t d2 = 0, std::uint32_t d3 = 0, std::uint32_t d4 = 0);

    bool canWatch(WorkerLoop& loop) const;
    void startWatching(WorkerLoop& loop);
    // Ends the watch once neither observers nor change watches are left.
    void stopWatchingIfUnused();
    void pumpSoon();
    void pump();
    // Takes the server's reports: the windows they name, and those whose frames they name,
    // are read again.
    void note(const std::vector<XcbReply<xcb_generic_event_t>>& reports);
    // Reads the table after a reported change; observers and change watches hear of it.
    void refresh();
    // Follows the changes of the table's clients and of the frames that hold them; the
    // clients it begins to follow are read again, so none of their changes goes unreported.
    void watchClients(const ClientTable& table);
    // The top-level window that holds each client: its frame, or the client itself.
    std::map<xcb_window_t, xcb_window_t> topLevelsOf(const std::vector<xcb_window_t>& clients);
    bool unsubscribe(std::uint64_t id);

    std::function<DesktopSpace()> desktopSpace_;
    X11HiddenApps& hidden_;
    const X11UserTime* userTime_;
    std::unique_ptr<XcbConnection> connection_;
    std::unique_ptr<X11ClientReader> reader_;
    Atoms atoms_{};
    Pid ownPid_;
    Duration defaultTimeout_ = kDefaultTimeout;
    // Holds no process that had ended when the latest element was added.
    std::unordered_map<ElementRef, Duration> timeouts_;
    std::unique_ptr<ClientTable> cached_;
    std::chrono::steady_clock::time_point cachedAt_;
    // The table the last read answered from.
    const ClientTable* current_ = nullptr;

    std::map<std::uint64_t, Subscriber> subscribers_;
    std::uint64_t nextSubscriber_ = 1;
    WorkerLoop* loop_ = nullptr;
    Subscription readable_;
    std::unique_ptr<ClientTable> baseline_;
    // Reported changed since the baseline was read: the next reading asks only for these.
    std::optional<StaleClients> staleClients_;
    // A change was reported, or the last reading failed: the baseline is not what reads see.
    bool stale_ = false;
    std::map<std::uint64_t, std::shared_ptr<Task>> changeWatches_;
    std::uint64_t nextChangeWatch_ = 1;
    std::set<std::uint32_t> watched_;
    // The top-level window holding each watched client. Some window managers (metacity)
    // answer a client's own move by moving its frame and tell the client nothing, so a
    // frame's reports stand for its client's.
    std::map<xcb_window_t, xcb_window_t> topLevels_;
    bool pumpPosted_ = false;
    struct Forward {
        ClientFacts window;
        bool raise = false;
    };
    // The one request to bring a window forward that the current task ends with.
    std::optional<Forward> forward_;
    int tableReadings_ = 0;
    Lifetime lifetime_;
};

}  // namespace quillbern
