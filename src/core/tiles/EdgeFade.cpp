#include "core/tiles/EdgeFade.h"

namespace quillbern {

EdgeFade::EdgeFade(RunLoop& mainLoop) : loop_(mainLoop) {}

void EdgeFade::setStripSpan(double span) {
    expectOnLoop(loop_);
    if (span == stripSpan_) return;
    stripSpan_ = span;
    update();
}

void EdgeFade::setScrollSpan(double span) {
    expectOnLoop(loop_);
    if (span == scrollSpan_) return;
    scrollSpan_ = span;
    update();
}

void EdgeFade::update() {
    confirm_.cancel();
    if (!overflows()) {
        setShowsFade(false);
        return;
    }
    if (showsFade_) return;
    confirm_ = loop_.after(kConfirmDelay, lifetime_.guard([this] {
        if (overflows()) setShowsFade(true);
    }));
}

void EdgeFade::setShowsFade(bool shows) {
    if (shows == showsFade_) return;
    showsFade_ = shows;
    changed.emit();
}

}  // namespace quillbern
