#pragma once

#include <vector>

#include "core/platform/Launcher.h"

namespace quillbern {

// Records what it was asked to open.
class SimLauncher final : public Launcher {
public:
    bool openSystemSettings(SettingsPage page) override {
        openedPages_.push_back(page);
        return opensPages_;
    }

    void setOpensPages(bool opens) { opensPages_ = opens; }
    const std::vector<SettingsPage>& openedPages() const { return openedPages_; }

private:
    bool opensPages_ = true;
    std::vector<SettingsPage> openedPages_;
};

}  // namespace quillbern
