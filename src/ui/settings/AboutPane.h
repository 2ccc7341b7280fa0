#pragma once

#include <QPixmap>
#include <QWidget>
#include <vector>

#include "core/settings/AboutPaneModel.h"

class QLabel;
class QPushButton;

namespace quillbern {

// The About section: the program's icon, name, version and description, the update check
// where an updater exists, and the maker's links.
class AboutPane final : public QWidget {
public:
    static constexpr int kIconSide = 96;

    AboutPane(const AppProcess& process, UpdaterController& updater, Launcher& launcher,
              MakerAddresses addresses = MakerAddresses::ofThisBuild(), QWidget* parent = nullptr);

    // Null without an icon of the program's.
    const QPixmap& icon() const { return icon_; }
    QLabel& versionLine() const { return *version_; }
    QLabel& description() const { return *description_; }
    QPushButton& checkNow() const { return *checkNow_; }
    const std::vector<QPushButton*>& links() const { return links_; }

private:
    AboutPaneModel model_;
    QPixmap icon_;
    QLabel* version_;
    QLabel* description_;
    QPushButton* checkNow_;
    std::vector<QPushButton*> links_;
};

}  // namespace quillbern
