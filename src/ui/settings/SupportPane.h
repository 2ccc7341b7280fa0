#pragma once

#include <QWidget>
#include <optional>

#include "core/settings/MakerAddresses.h"
#include "core/settings/SupportPaneModel.h"

class QLabel;
class QPushButton;

namespace quillbern {

// The Support section: the link to the support page, the diagnostics the user copies for
// support, and the support address. The diagnostics follow the permissions and displays
// in place.
class SupportPane final : public QWidget {
public:
    explicit SupportPane(SupportPaneModel::Ports ports, MakerAddresses addresses = MakerAddresses::ofThisBuild(),
                         QWidget* parent = nullptr);

    // Null where the build names no support page or address.
    QPushButton* supportLink() const { return supportLink_; }
    QPushButton* mailLink() const { return mailLink_; }
    QPushButton& copyButton() const { return *copy_; }
    QLabel& diagnostics() const { return *diagnostics_; }

private:
    void showCopied();

    SupportPaneModel model_;
    QPushButton* supportLink_ = nullptr;
    QPushButton* mailLink_ = nullptr;
    QPushButton* copy_;
    QLabel* diagnostics_;
    Subscription diagnosticsChanged_;
    Subscription copiedChanged_;
};

}  // namespace quillbern
