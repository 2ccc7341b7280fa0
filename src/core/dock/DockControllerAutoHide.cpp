#include <algorithm>
#include <cmath>

#include "core/dock/DockController.h"
#include "core/dock/RevealGeometry.h"
#include "core/foundation/TimeGrid.h"
#include "core/platform/ScreenGeometry.h"

namespace quillbern {

void DockController::autoHideTick() {
    expectOnLoop(ports_.mainLoop);
    const MediaTime now = ports_.clock.mediaNow();
    lastTick_ = now;
    tickBusy_ = false;
    heldKeys_.clear();
    tickStep(now);
    followPointer();
    if (mayRest(now)) rest();
}

void DockController::tickStep(MediaTime now) {
    if (isPeeking_) {
        if (peekKeyCode_ && !ports_.input.isKeyDown(*peekKeyCode_)) {
            isPeeking_ = false;
            peekKeyCode_.reset();
        } else if (!isPlacingDrag()) {
            revealAllConcealed();
            clearGlints();
            return;
        }
    }
    if (!preferences_.autoHide()) {
        revealAllConcealed();
        heldOut_.clear();
        knock_.clear();
        revealDwell_.clear();
        clearGlints();
        return;
    }
    const PointBL mouse = ports_.input.pointer();
    const bool placing = isPlacingDrag();
    // The first tick never counts as a click.
    const std::uint32_t presses = ports_.input.pressCount();
    clicked_ = lastPressCount_ && *lastPressCount_ != presses;
    lastPressCount_ = presses;
    std::optional<bool> menuGate;
    for (const auto& [group, members] : groups_) {
        const ScreenInfo* screen = screenWithID(group.display);
        if (!screen) continue;
        const bool allConcealed =
            std::all_of(members.begin(), members.end(), [this](const Member& m) { return concealed_.contains(m.key); });
        if (allConcealed) {
            tickHiddenGroup(group, members, *screen, mouse, placing, menuGate);
        } else {
            knock_.erase(group);
            tickShownGroup(group, members, *screen, mouse, placing, now);
        }
    }
    reconcileGlints(now);
    if (!revealDwell_.empty()) tickBusy_ = true;
    // An armed knock and a seam knock that came back lapse, and take their glints away,
    // with time alone; every other step waits for the pointer to move.
    for (const auto& [group, phase] : knock_) {
        if (phase.step == KnockPhase::Step::armed) tickBusy_ = true;
    }
    for (const auto& [group, seam] : seamKnock_) {
        if (seam.step == SeamKnock::Step::back || seam.step == SeamKnock::Step::outAgain) tickBusy_ = true;
    }
}

void DockController::followPointer() {
    // With auto-hide off the pointer decides nothing, so its motion is not worth a wake-up.
    const bool wanted = preferences_.autoHide();
    if (wanted == followsPointer_) return;
    followsPointer_ = wanted;
    if (wanted) {
        pointerMotion_ = ports_.input.onPointerMotion(lifetime_.guard([this] { wakeTick(); }));
        reportsMotion_ = static_cast<bool>(pointerMotion_);
    } else {
        pointerMotion_.reset();
    }
}

bool DockController::mayRest(MediaTime now) const {
    // Without motion reports a resting tick would never see the pointer arrive.
    if (followsPointer_ && !reportsMotion_) return false;
    return !isPeeking_ && !tickBusy_ && now >= animationsEnd_;
}

void DockController::rest() {
    autoHideTimer_.cancel();
    resting_ = true;
}

void DockController::wakeTick() {
    if (!resting_) return;
    resting_ = false;
    const MediaTime now = ports_.clock.mediaNow();
    const TimeGrid grid{tickOrigin_, kTickPeriod};
    const MediaTime lastSkipped = grid.lastAtOrBefore(now);
    // Every tick skipped while resting saw what the last one saw: the groups it found held
    // were touched on each of them.
    if (lastSkipped > lastTick_) {
        for (const PanelKey& key : heldKeys_)
            lastInside_[key] = lastSkipped;
    }
    autoHideTimer_ =
        ports_.mainLoop.every(kTickPeriod, lifetime_.guard([this] { autoHideTick(); }), grid.nextAfter(now) - now);
}

void DockController::noteAnimation(Duration duration) {
    animationsEnd_ = std::max(animationsEnd_, ports_.clock.mediaNow() + duration);
}

void DockController::tickHiddenGroup(const EdgeGroup& group, const std::vector<Member>& members,
                                     const ScreenInfo& screen, PointBL mouse, bool placing,
                                     std::optional<bool>& menuGate) {
    const bool knockMode = std::any_of(members.begin(), members.end(), [this](const Member& m) {
        const Profile* profile = pinned_.findProfile(m.key.profile);
        return profile && profile->revealMode == RevealMode::knock;
    });
    const std::optional<reveal::EdgeRange> span = edgeSpan(members, group.edge);
    const bool seam = reveal::neighbourScreen(group.edge, screen, screens_, span) != nullptr;
    // A display attached beyond the edge or taken away from there changes the gesture.
    if (const auto it = lastSeam_.find(group); it == lastSeam_.end() || it->second != seam) {
        lastSeam_[group] = seam;
        dropKnocks(group);
    }
    // Such a group answers only to a knock; hovering alone never reveals it.
    if (knockMode || displayShowsFullscreenApp(group.display)) {
        revealDwell_.erase(group);
        tickKnockGroup(group, members, screen, mouse, placing, span, seam, menuGate);
        return;
    }
    knock_.erase(group);
    if (placing) {
        revealDwell_.erase(group);
        return;
    }
    const auto [zone, contested] = edgeZone(group.edge, screen);
    if (!pointerInStrip(mouse, group.edge, screen, members, zone)) {
        revealDwell_.erase(group);
        return;
    }
    if (!contested) {
        revealMembers(members);
        return;
    }
    // The gate counts the ticks it is consulted on; a consulting tick never repeats itself.
    tickBusy_ = true;
    if (sampleMenuGate(menuGate)) {
        revealDwell_.erase(group);
        return;
    }
    const int dwell = ++revealDwell_[group];
    if (dwell >= std::max(kMinimumDwell, dwellTicks())) {
        revealDwell_.erase(group);
        revealMembers(members);
    }
}

void DockController::tickShownGroup(const EdgeGroup& group, const std::vector<Member>& members,
                                    const ScreenInfo& screen, PointBL mouse, bool placing, MediaTime now) {
    const bool inside = std::any_of(members.begin(), members.end(), [&](const Member& m) {
        return !concealed_.contains(m.key) &&
               m.panel->frame().insetBy(-reveal::kFrameMargin, -reveal::kFrameMargin).contains(mouse);
    });
    const bool locked = std::any_of(members.begin(), members.end(), [this](const Member& m) {
        const auto it = interactionLocks_.find(m.key);
        return it != interactionLocks_.end() && it->second > 0;
    });
    const auto held = [&] {
        if (inside || locked || placing) return true;
        const RectBL zone = edgeZone(group.edge, screen).first;
        return pointerInStrip(mouse, group.edge, screen, members, zone);
    };
    if (held()) {
        for (const Member& m : members) {
            lastInside_[m.key] = now;
            heldKeys_.push_back(m.key);
            if (concealed_.contains(m.key)) reveal(m.key);
        }
        return;
    }
    std::optional<MediaTime> latest;
    for (const Member& m : members) {
        const auto it = lastInside_.find(m.key);
        if (it != lastInside_.end() && (!latest || it->second > *latest)) latest = it->second;
    }
    if (latest && now - *latest <= kLeaveDelay) {
        tickBusy_ = true;  // the leave delay is counting
        return;
    }
    for (const Member& m : members)
        conceal(m.key);
}

void DockController::reveal(PanelKey key) {
    expectOnLoop(ports_.mainLoop);
    wakeTick();
    tickBusy_ = true;
    concealed_.erase(key);
    lastInside_[key] = ports_.clock.mediaNow();
    const Profile* profile = pinned_.findProfile(key.profile);
    if (!profile) return;
    const EdgeGroup group{key.display, profile->edge};
    revealDwell_.erase(group);
    dropKnocks(group);
    const auto it = panels_.find(key);
    if (it == panels_.end()) return;
    Panel& panel = *it->second;
    const RectBL target = stackedFrame(key).value_or(panel.frame());
    const RectBL start =
        ports_.system.reduceMotion() ? target : reveal::slidToward(profile->edge, target, reveal::kSlideDistance);
    panel.setFrame(start);
    panel.setAlpha(0);
    panel.orderFront();
    panel.animate(kRevealAnimation, 1.0, target);
    noteAnimation(kRevealAnimation.duration);
}

void DockController::conceal(PanelKey key) {
    expectOnLoop(ports_.mainLoop);
    const auto it = panels_.find(key);
    if (it == panels_.end() || concealed_.contains(key) || heldOut_.contains(key)) return;
    if (const auto lock = interactionLocks_.find(key); lock != interactionLocks_.end() && lock->second != 0) return;
    const Profile* profile = pinned_.findProfile(key.profile);
    if (!profile) return;
    wakeTick();
    tickBusy_ = true;
    concealed_.insert(key);
    dropKnocks(EdgeGroup{key.display, profile->edge});
    hidePreview(key);
    Panel& panel = *it->second;
    const RectBL from = panel.frame();
    std::optional<RectBL> to;
    if (!ports_.system.reduceMotion()) to = reveal::slidToward(profile->edge, from, reveal::kSlideDistance);
    panel.animate(kConcealAnimation, 0.0, to, lifetime_.guard([this, key, from] {
        // A reveal or a lock during the hide has taken the panel back.
        if (!concealed_.contains(key)) return;
        if (const auto lock = interactionLocks_.find(key); lock != interactionLocks_.end() && lock->second != 0) return;
        const auto found = panels_.find(key);
        if (found == panels_.end()) return;
        wakeTick();
        found->second->orderOut();
        found->second->setFrame(stackedFrame(key).value_or(from));
    }));
    noteAnimation(kConcealAnimation.duration);
}

bool DockController::isPlacingDrag() const {
    const std::optional<DragSession>& session = pinned_.dragSession();
    return session && session->itemID.starts_with("app:");
}

int DockController::dwellTicks() const {
    return std::max(1, static_cast<int>(std::round(preferences_.revealDelay() / kTickPeriod)));
}

bool DockController::displayShowsFullscreenApp(DisplayId display) const {
    // The window's own full-screen state, never its size: a maximised window covers the
    // whole display where no panel reserves space.
    const std::vector<WindowInfo>& windows = engine_.snapshot().windows;
    return std::any_of(windows.begin(), windows.end(), [display](const WindowInfo& window) {
        return window.displayID == display && window.isOnScreen && !window.isMinimized && window.isFullscreen;
    });
}

const ScreenInfo* DockController::screenWithID(DisplayId display) const {
    // A later screen with the same id stands for it.
    const auto it =
        std::find_if(screens_.rbegin(), screens_.rend(), [display](const ScreenInfo& s) { return s.id == display; });
    return it == screens_.rend() ? nullptr : &*it;
}

bool DockController::facingDockExists(DockEdge edge, const ScreenInfo& neighbour) const {
    if (!neighbour.id) return false;
    const DockEdge facing = reveal::opposite(edge);
    return std::any_of(panels_.begin(), panels_.end(), [&](const auto& entry) {
        if (entry.first.display != *neighbour.id) return false;
        const Profile* profile = pinned_.findProfile(entry.first.profile);
        return profile && profile->edge == facing;
    });
}

std::pair<RectBL, bool> DockController::edgeZone(DockEdge edge, const ScreenInfo& screen) const {
    const ScreenInfo* beyond = reveal::neighbourScreen(edge, screen, screens_, std::nullopt);
    const bool facingDock = beyond && facingDockExists(edge, *beyond);
    const bool contested = edge == DockEdge::top || beyond;
    return {reveal::revealZone(edge, screen, beyond != nullptr, facingDock), contested};
}

bool DockController::pointerInStrip(PointBL mouse, DockEdge edge, const ScreenInfo& screen,
                                    const std::vector<Member>& members, RectBL zone) const {
    return std::any_of(members.begin(), members.end(), [&](const Member& m) {
        return mouseInRect(mouse, reveal::memberStrip(edge, zone, m.panel->frame(), screen.frame));
    });
}

bool DockController::sampleMenuGate(std::optional<bool>& menuGate) {
    if (menuGate) return *menuGate;
    bool blocks = false;
    if (ports_.input.isMenuOpen()) {
        const int n = menuGateBlockedTicks_ + 1;
        menuGateBlockedTicks_ = std::min(n, kMenuGateLimit + 1);
        blocks = n <= kMenuGateLimit;
    } else {
        menuGateBlockedTicks_ = 0;
    }
    menuGate = blocks;
    return blocks;
}

void DockController::revealAllConcealed() {
    // reveal takes the key out, so this ends.
    while (!concealed_.empty())
        reveal(*concealed_.begin());
}

void DockController::revealMembers(const std::vector<Member>& members) {
    for (const Member& m : members)
        reveal(m.key);
}

}  // namespace quillbern
