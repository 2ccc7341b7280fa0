#include <algorithm>

#include "core/dock/DockController.h"
#include "core/dock/KnockGlint.h"
#include "core/platform/ScreenGeometry.h"

namespace quillbern {

namespace {

// How far along the edge past the docks' ends a crossing still counts as at them.
constexpr double kSeamSpanMargin = 12;

}  // namespace

void DockController::tickKnockGroup(const EdgeGroup& group, const std::vector<Member>& members,
                                    const ScreenInfo& screen, PointBL mouse, bool placing,
                                    std::optional<reveal::EdgeRange> span, bool seam, std::optional<bool>& menuGate) {
    const auto entry = [&group](const auto& map) {
        const auto it = map.find(group);
        using Value = typename std::decay_t<decltype(map)>::mapped_type;
        return it == map.end() ? std::pair(false, Value{}) : std::pair(true, it->second);
    };
    const auto phase = entry(knock_);
    const auto crossing = entry(seamKnock_);
    if (knockCancelled(placing)) {
        if (seam) {
            seamKnock_.erase(group);
        } else {
            knock_.erase(group);
        }
    } else if (seam) {
        seamKnockTick(group, members, screen, mouse, span, menuGate);
    } else {
        const auto [zone, contested] = edgeZone(group.edge, screen);
        knockTick(group, members, pointerInStrip(mouse, group.edge, screen, members, zone),
                  reveal::inContactStrip(mouse, group.edge, screen, zone), menuGate);
    }
    // What changed now may change again on the next tick without the pointer moving.
    if (entry(knock_) != phase || entry(seamKnock_) != crossing) tickBusy_ = true;
}

bool DockController::knockCancelled(bool placing) {
    if (placing || clicked_) return true;
    if (ports_.input.pressedButtons() == 0) return false;
    // Letting go of the button moves nothing, so nothing would wake a resting tick.
    tickBusy_ = true;
    return true;
}

void DockController::knockTick(const EdgeGroup& group, const std::vector<Member>& members, bool inRevealZone,
                               bool inContactStrip, std::optional<bool>& menuGate) {
    const MediaTime now = ports_.clock.mediaNow();
    const auto it = knock_.find(group);
    if (inRevealZone) {
        const bool blocked = sampleMenuGate(menuGate);
        // While a menu is open the gate counts the ticks it is consulted on.
        if (menuGateBlockedTicks_ > 0) tickBusy_ = true;
        if (it == knock_.end()) return;
        KnockPhase& phase = it->second;
        if (blocked) {
            knock_.erase(it);
            return;
        }
        switch (phase.step) {
            case KnockPhase::Step::touching:
                return;
            case KnockPhase::Step::armed:
                if (now <= phase.time) {
                    knock_.erase(it);
                    revealMembers(members);
                } else {
                    phase = {KnockPhase::Step::touching, now};
                }
                return;
            case KnockPhase::Step::away:
                phase = {KnockPhase::Step::touching, now};
                return;
        }
        return;
    }
    // Sliding along the edge past the docks' ends is neither a touch nor a pull-back.
    if (inContactStrip) return;
    if (it == knock_.end()) {
        knock_[group] = {KnockPhase::Step::away, now};
        return;
    }
    KnockPhase& phase = it->second;
    switch (phase.step) {
        case KnockPhase::Step::away:
            return;
        case KnockPhase::Step::touching: {
            if (sampleMenuGate(menuGate)) {
                knock_.erase(it);
                return;
            }
            const KnockTiming timing = knockTiming(preferences_.knockTempo());
            if (now - phase.time <= timing.longestFirstTouch) {
                phase = {KnockPhase::Step::armed, now + timing.knockWindow};
            } else {
                phase = {KnockPhase::Step::away, now};
            }
            return;
        }
        case KnockPhase::Step::armed:
            if (sampleMenuGate(menuGate)) {
                knock_.erase(it);
            } else if (now > phase.time) {
                phase = {KnockPhase::Step::away, now};
            }
            return;
    }
}

void DockController::seamKnockTick(const EdgeGroup& group, const std::vector<Member>& members, const ScreenInfo& screen,
                                   PointBL mouse, std::optional<reveal::EdgeRange> span,
                                   std::optional<bool>& menuGate) {
    using Step = SeamKnock::Step;
    auto it = seamKnock_.find(group);
    if (span) {
        const double along = reveal::alongEdge(group.edge, mouse);
        if (along < span->lower - kSeamSpanMargin || along > span->upper + kSeamSpanMargin) {
            // A gesture under way survives a detour; only a resting one is dropped.
            if (it != seamKnock_.end() && it->second.step == Step::home) seamKnock_.erase(it);
            return;
        }
    }
    const MediaTime now = ports_.clock.mediaNow();
    if (it != seamKnock_.end() && it->second.step != Step::home) {
        if (sampleMenuGate(menuGate)) {
            it->second = {Step::home, {}};
            return;
        }
    }
    const Duration window = knockTiming(preferences_.knockTempo()).seamWindow;
    const SeamKnock home{Step::home, {}};
    if (mouseInRect(mouse, screen.frame)) {
        if (it == seamKnock_.end()) {
            seamKnock_[group] = home;
            return;
        }
        SeamKnock& state = it->second;
        switch (state.step) {
            case Step::home:
                return;
            case Step::out:
                state = now <= state.deadline ? SeamKnock{Step::back, now + window} : home;
                return;
            case Step::back:
                if (now > state.deadline) state = home;
                return;
            case Step::outAgain:
                if (now > state.deadline) {
                    state = home;
                    return;
                }
                state = home;
                if (!sampleMenuGate(menuGate)) revealMembers(members);
                return;
        }
        return;
    }
    if (!reveal::beyondEdge(mouse, group.edge, screen.frame)) return;
    const ScreenInfo* neighbour = reveal::neighbourScreen(group.edge, screen, screens_, span);
    if (!neighbour || !mouseInRect(mouse, neighbour->frame) || it == seamKnock_.end()) return;
    SeamKnock& state = it->second;
    switch (state.step) {
        case Step::home:
            state = {Step::out, now + window};
            return;
        case Step::out:
            return;
        case Step::back:
            state = now <= state.deadline ? SeamKnock{Step::outAgain, state.deadline} : home;
            return;
        case Step::outAgain:
            if (now > state.deadline) state = home;
            return;
    }
}

void DockController::dropKnocks(const EdgeGroup& group) {
    knock_.erase(group);
    seamKnock_.erase(group);
}

std::optional<reveal::EdgeRange> DockController::edgeSpan(const std::vector<Member>& members, DockEdge edge) {
    std::optional<reveal::EdgeRange> span;
    for (const Member& m : members) {
        const reveal::EdgeRange range = reveal::rangeAlong(edge, m.panel->frame());
        if (!span) {
            span = range;
            continue;
        }
        span->lower = std::min(span->lower, range.lower);
        span->upper = std::max(span->upper, range.upper);
    }
    return span;
}

void DockController::reconcileGlints(MediaTime now) {
    const auto wanted = [this, now](const EdgeGroup& group) {
        if (const auto it = knock_.find(group);
            it != knock_.end() && it->second.step == KnockPhase::Step::armed && now <= it->second.time)
            return true;
        const auto it = seamKnock_.find(group);
        return it != seamKnock_.end() &&
               (it->second.step == SeamKnock::Step::back || it->second.step == SeamKnock::Step::outAgain) &&
               now <= it->second.deadline;
    };
    for (auto it = glints_.begin(); it != glints_.end();) {
        if (wanted(it->first)) {
            ++it;
            continue;
        }
        std::unique_ptr<Panel> panel = std::move(it->second);
        it = glints_.erase(it);
        const std::uint64_t serial = panel->serial();
        panel->animate(glint::kFadeOut, 0.0, std::nullopt, lifetime_.guard([this, serial] {
            std::erase_if(fadingGlints_, [serial](const auto& fading) { return fading->serial() == serial; });
        }));
        fadingGlints_.push_back(std::move(panel));
    }
    const auto add = [&](const EdgeGroup& group) {
        if (!wanted(group) || glints_.contains(group)) return;
        const ScreenInfo* screen = screenWithID(group.display);
        const auto members = groups_.find(group);
        // No glint without its screen or its docks; the knock goes on regardless.
        if (!screen || members == groups_.end() || members->second.empty()) return;
        glints_[group] = makeGlint(group, members->second, *screen);
    };
    for (const auto& entry : knock_)
        add(entry.first);
    for (const auto& entry : seamKnock_)
        add(entry.first);
}

std::unique_ptr<Panel> DockController::makeGlint(const EdgeGroup& group, const std::vector<Member>& members,
                                                 const ScreenInfo& screen) {
    PanelStyle style;
    style.level = PanelLevel::dock;
    style.ignoresMouse = true;
    const bool vertical = group.edge == DockEdge::left || group.edge == DockEdge::right;
    const RectBL frame = glint::frame(group.edge, edgeSpan(members, group.edge), screen);
    std::unique_ptr<Panel> panel =
        ports_.panels.createPanel(style, frame, ports_.views.knockGlint({vertical, ports_.system.accentColor()}));
    panel->setAlpha(0);
    panel->orderFront();
    panel->animate(glint::kFadeIn, 1.0, std::nullopt);
    return panel;
}

void DockController::clearGlints() {
    glints_.clear();
}

}  // namespace quillbern
