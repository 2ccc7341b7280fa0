#pragma once

#include <optional>
#include <string>

#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/platform/AppProcess.h"
#include "core/platform/Clipboard.h"
#include "core/platform/Launcher.h"
#include "core/platform/Screens.h"
#include "core/settings/MakerAddresses.h"
#include "core/windows/PreviewStore.h"
#include "core/windows/WindowEngine.h"

namespace quillbern {

// What the Support pane shows and does: the support page's link with the interface language
// and the version, the diagnostics the user copies for support, and the support address.
// Everything is read afresh at each use. Main thread.
class SupportPaneModel {
public:
    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        const AppProcess& process;
        Screens& screens;
        WindowEngine& engine;
        PreviewStore& previews;
        Clipboard& clipboard;
        Launcher& launcher;
        RunLoop& mainLoop;
    };
    static constexpr Duration kCopiedFor = 2.0;

    SupportPaneModel(Ports ports, MakerAddresses addresses);
    SupportPaneModel(const SupportPaneModel&) = delete;
    SupportPaneModel& operator=(const SupportPaneModel&) = delete;

    // "2.1 (57)", "?" for what the build does not name.
    std::string version() const;
    // The interface language's code: "pt" for "pt-BR".
    std::string language() const;
    // The support page asked for in that language and for this version; none when the
    // build names no support page.
    std::optional<WebAddress> supportUrl() const;
    // Opens the support page in the web browser; false when it could not.
    bool openSupport();
    std::optional<WebLink> mailLink() const { return addresses_.supportMailLink(); }
    bool open(const WebLink& link);

    // Five lines: the version, the system, the number of displays and the two permissions.
    std::string diagnostics() const;
    // Puts exactly the diagnostics on the clipboard. `copied` holds for two seconds after
    // each copy; a copy meanwhile writes again but does not push the first one's end back.
    void copy();
    bool copied() const { return copied_; }

    // The diagnostics may read differently: a permission or the displays changed.
    Signal<> diagnosticsChanged;
    Signal<> copiedChanged;

private:
    void setCopied(bool copied);

    Ports ports_;
    MakerAddresses addresses_;
    bool copied_ = false;
    Subscription trustChanged_;
    Subscription grantChanged_;
    Subscription screensChanged_;
    Lifetime lifetime_;
};

}  // namespace quillbern
