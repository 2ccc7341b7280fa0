#include "core/dock/KnockGestures.h"

namespace quillbern {

KnockTiming knockTiming(DockPreferences::KnockTempo tempo) {
    switch (tempo) {
        case DockPreferences::KnockTempo::brisk:
            return {0.45, 0.7, 1.4};
        case DockPreferences::KnockTempo::standard:
            return {0.6, 0.9, 1.8};
        case DockPreferences::KnockTempo::relaxed:
            return {0.9, 1.4, 2.8};
    }
    return {0.6, 0.9, 1.8};
}

}  // namespace quillbern
