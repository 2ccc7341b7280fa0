#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "core/dock/DockFrames.h"
#include "core/dock/DockViewFactory.h"
#include "core/dock/KnockGestures.h"
#include "core/dock/LaunchBeaconController.h"
#include "core/dock/PanelKey.h"
#include "core/dock/RevealGeometry.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/model/AppearanceStore.h"
#include "core/model/DockPreferences.h"
#include "core/model/PinnedStore.h"
#include "core/platform/EventMonitors.h"
#include "core/platform/FolderEvents.h"
#include "core/platform/InputState.h"
#include "core/platform/PanelHost.h"
#include "core/platform/RunningApps.h"
#include "core/platform/Screens.h"
#include "core/windows/AXPermission.h"
#include "core/windows/PreviewStore.h"
#include "core/windows/WindowEngine.h"

namespace quillbern {

// Owns every dock panel: one per display and visible dock that stands on it, at the
// frame the dock geometry gives. Rebuilds the panels when the screens or the dock layout
// change, moves them when what decides their frames changes. While auto-hide is on, a
// polling tick slides each edge group away when the pointer has left it and brings it
// back when the pointer returns to its stretch of the edge, or, for knock docks and docks
// beside a full-screen window, only to a knock. The tick rests while its outcome cannot
// change and resumes on its own time grid when something does. Places the hover preview
// beside the dock whose tile is hovered, and slides revealed docks away on a click
// elsewhere. Main thread.
class DockController {
public:
    static constexpr Animation kFrameChange{0.15, AnimationCurve::easeOut};
    static constexpr Animation kRevealAnimation{0.28, AnimationCurve::easeOut};
    static constexpr Animation kConcealAnimation{0.22, AnimationCurve::easeIn};
    static constexpr Duration kTickPeriod = 0.12;
    // A shown group hides once the pointer was last at it longer ago than this.
    static constexpr Duration kLeaveDelay = 0.6;
    // A delayed reveal never fires before this many ticks.
    static constexpr int kMinimumDwell = 2;
    // Longest run of consulted ticks for which an open menu holds back delayed reveals.
    static constexpr int kMenuGateLimit = 100;

    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        PanelHost& panels;
        // Builds what the docks, the launch beacon, the knocks' glints and the preview show.
        DockViewFactory& views;
        Screens& screens;
        InputState& input;
        SystemAppearance& system;
        RunLoop& mainLoop;
        const Clock& clock;
        // What the tiles' menus hide and quit.
        RunningApps& apps;
        // Clicks elsewhere slide revealed docks away and break off knocks.
        EventMonitors& events;
        // Files dropped on the docks, the Trash tiles and their watches.
        FileSystem& files;
        FolderEvents& folders;
        AppCatalog& catalog;
        Launcher& launcher;
        Alerts& alerts;
        // What the pinned folders' popovers list and show; none shows no popover.
        LocationBrowser* locations = nullptr;
    };

    DockController(Ports ports, WindowEngine& engine, PreviewStore& previews, PinnedStore& pinned,
                   DockPreferences& preferences, AppearanceStore& appearance, AXPermission& permission,
                   TransientAppCount transientApps, LaunchingApps& launching);
    ~DockController();
    DockController(const DockController&) = delete;
    DockController& operator=(const DockController&) = delete;

    // Builds the panels and follows the screens and the dock store.
    void start();
    // Undoes start and closes every panel; the dock store keeps its content callback,
    // which then finds no panel to move.
    void stop();
    // Makes the panels match the visible docks and the screens.
    void rebuildPanels();
    // Moves the existing panels whose frames changed; never opens or closes one.
    void refreshFrames();

    // The docks that stand on this screen and their frames; none for a screen without
    // both display identities.
    std::vector<StackedFrame> stackedFrames(const ScreenInfo& screen) const;
    // The resting frame of a panel; none when its screen or dock gives none.
    std::optional<RectBL> stackedFrame(const PanelKey& key) const;

    // The serial of the panel of this key.
    std::optional<std::uint64_t> panelSerial(const PanelKey& key) const;
    std::vector<PanelKey> panelKeys() const;

    // Made on first use.
    LaunchBeaconController& beacon();

    // One step of the reveal and hide machine; the tick timer calls it.
    void autoHideTick();
    // The tick waits for the pointer to move or for something else to change.
    bool isTickResting() const { return resting_; }
    // Slides the panel in from its edge and fades it in. By value: callers pass elements
    // of the sets this changes.
    void reveal(PanelKey key);
    // Slides the panel towards its edge, fades it out and orders it out; never a
    // held-out or locked panel.
    void conceal(PanelKey key);
    // An application tile of a dock is being dragged.
    bool isPlacingDrag() const;
    // Ticks of hover that a contested edge needs before it reveals.
    int dwellTicks() const;
    // A window in full-screen state shows on the display.
    bool displayShowsFullscreenApp(DisplayId display) const;

    // The dock's panels on every display stay out until the next toggle; a dock hidden in
    // the model is made visible first.
    void toggleHeldOut(const Uuid& profileID);
    bool isHeldOut(const Uuid& profileID) const;
    // While the peek chord is held, every hidden dock shows.
    void setPeeking(bool pressed, std::optional<KeyCode> keyCode);
    // Counts open popovers of a panel; while any is open its edge group stays revealed.
    void setInteractionLock(bool locked, const PanelKey& key);

    // A tile of the panel is hovered with this window to preview, or the hover ended.
    void hoverChanged(const std::optional<WindowInfo>& window, const PanelKey& key);
    // Hides the preview at once when it belongs to the panel.
    void hidePreview(const PanelKey& ownedBy);
    void hidePreviewNow();
    // A press in another application's window: with auto-hide on, the revealed docks of
    // every edge the press does not touch slide away.
    void dismissRevealedDocks(PointBL clickAt);

    // A Command-click on any dock; set by the application.
    std::function<void()> onCommandClick;
    // Given to the tiles, whose menus offer to take its members out; set before start.
    WorkspaceMembers* workspace = nullptr;

private:
    std::set<Pid> runningProcesses() const;
    void runningChanged();
    struct Member {
        PanelKey key;
        Panel* panel = nullptr;
    };
    using EdgeGroups = std::map<EdgeGroup, std::vector<Member>>;

    std::unique_ptr<Panel> makePanel(const PanelKey& key, RectBL frame);
    // Regroups the panels by edge after every rebuild, so the tick allocates nothing.
    void regroupPanels();
    const ScreenInfo* screenWithID(DisplayId display) const;
    bool facingDockExists(DockEdge edge, const ScreenInfo& neighbour) const;
    // The zone of a group's edge on its screen, and whether that edge is contested.
    std::pair<RectBL, bool> edgeZone(DockEdge edge, const ScreenInfo& screen) const;
    bool pointerInStrip(PointBL mouse, DockEdge edge, const ScreenInfo& screen, const std::vector<Member>& members,
                        RectBL zone) const;
    void tickHiddenGroup(const EdgeGroup& group, const std::vector<Member>& members, const ScreenInfo& screen,
                         PointBL mouse, bool placing, std::optional<bool>& menuGate);
    void tickShownGroup(const EdgeGroup& group, const std::vector<Member>& members, const ScreenInfo& screen,
                        PointBL mouse, bool placing, MediaTime now);
    // A hidden group that answers only to a knock.
    void tickKnockGroup(const EdgeGroup& group, const std::vector<Member>& members, const ScreenInfo& screen,
                        PointBL mouse, bool placing, std::optional<reveal::EdgeRange> span, bool seam,
                        std::optional<bool>& menuGate);
    // A click since the last tick, a held button or a tile drag breaks a knock off.
    bool knockCancelled(bool placing);
    void knockTick(const EdgeGroup& group, const std::vector<Member>& members, bool inRevealZone, bool inContactStrip,
                   std::optional<bool>& menuGate);
    void seamKnockTick(const EdgeGroup& group, const std::vector<Member>& members, const ScreenInfo& screen,
                       PointBL mouse, std::optional<reveal::EdgeRange> span, std::optional<bool>& menuGate);
    void dropKnocks(const EdgeGroup& group);
    // The stretch of the edge the members' panels cover.
    static std::optional<reveal::EdgeRange> edgeSpan(const std::vector<Member>& members, DockEdge edge);
    // A glint shows on every edge whose knock is armed or whose seam knock came back.
    void reconcileGlints(MediaTime now);
    std::unique_ptr<Panel> makeGlint(const EdgeGroup& group, const std::vector<Member>& members,
                                     const ScreenInfo& screen);
    // Closes the glints at once, without a fade.
    void clearGlints();
    // The frame of the preview for the panel, or none when its dock is gone.
    std::optional<RectBL> previewFrame(const PanelKey& key, const Panel& panel) const;
    // The decisions of one tick; autoHideTick adds the resting around them.
    void tickStep(MediaTime now);
    // Listens for pointer motion while auto-hide is on.
    void followPointer();
    bool mayRest(MediaTime now) const;
    // Stops the timer until wakeTick; the grid of tick times is kept.
    void rest();
    // Called before anything the tick reads changes: a resting tick resumes at the next
    // time of its grid, as if it had never stopped.
    void wakeTick();
    // Something moves or fades until then; the tick runs meanwhile.
    void noteAnimation(Duration duration);
    // Decided at most once per tick and shared by everything that consults it then.
    bool sampleMenuGate(std::optional<bool>& menuGate);
    void revealAllConcealed();
    void revealMembers(const std::vector<Member>& members);
    DockFrameInputs frameInputs() const;
    Ports ports_;
    WindowEngine& engine_;
    PreviewStore& previews_;
    PinnedStore& pinned_;
    DockPreferences& preferences_;
    AppearanceStore& appearance_;
    AXPermission& permission_;
    TransientAppCount transientApps_;
    LaunchingApps& launching_;
    std::map<PanelKey, std::unique_ptr<Panel>> panels_;
    Subscription screenObserver_;
    Subscription profilesObserver_;
    Subscription runningObserver_;
    // The processes that ran at the last change of the running applications.
    std::set<Pid> runningProcesses_;
    std::unique_ptr<LaunchBeaconController> beacon_;
    Timer autoHideTimer_;
    // Tick times are tickOrigin_ plus whole periods, resting or not.
    MediaTime tickOrigin_;
    MediaTime lastTick_;
    bool resting_ = false;
    // The last tick changed something or waits for time to pass (a dwell, the leave delay,
    // the menu gate's count): the next one may decide differently.
    bool tickBusy_ = false;
    // The members of groups the last tick found held; skipped ticks would have touched them.
    std::vector<PanelKey> heldKeys_;
    MediaTime animationsEnd_;
    bool followsPointer_ = false;
    bool reportsMotion_ = false;
    Subscription pointerMotion_;
    std::vector<Subscription> tickWakers_;
    // The screens as the last rebuild saw them; every change of the screens rebuilds.
    std::vector<ScreenInfo> screens_;
    EdgeGroups groups_;
    std::set<PanelKey> concealed_;
    std::set<PanelKey> heldOut_;
    bool isPeeking_ = false;
    std::optional<KeyCode> peekKeyCode_;
    std::map<PanelKey, MediaTime> lastInside_;
    std::map<PanelKey, int> interactionLocks_;
    std::map<EdgeGroup, int> revealDwell_;
    std::map<EdgeGroup, KnockPhase> knock_;
    std::map<EdgeGroup, SeamKnock> seamKnock_;
    // Whether a display lay beyond the group's stretch of its edge on its last hidden tick.
    std::map<EdgeGroup, bool> lastSeam_;
    std::optional<std::uint32_t> lastPressCount_;
    // Set by the tick's inputs for the knocks.
    bool clicked_ = false;
    std::map<EdgeGroup, std::unique_ptr<Panel>> glints_;
    // Glints fading out, closed when their fade ends.
    std::vector<std::unique_ptr<Panel>> fadingGlints_;
    std::unique_ptr<Panel> previewPanel_;
    Timer previewHide_;
    std::optional<PanelKey> previewOwner_;
    std::vector<Subscription> pressMonitors_;
    int menuGateBlockedTicks_ = 0;
    Lifetime lifetime_;
};

}  // namespace quillbern
