#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <map>
#include <vector>

#include "core/settings/DocksPaneModel.h"
#include "core/shortcuts/ChordText.h"
#include "ui/settings/ProfileDetailPane.h"

class QLabel;
class QPushButton;
class QScrollArea;
class QSplitter;
class QVBoxLayout;

namespace quillbern {

class DockRow;
class ListBarButton;
class PaneBanner;

// The Docks section: the banner of docks recovered from unreadable data, the banner that
// undoes the last removal, then the list of docks with its add and remove bar beside the
// detail of the selected dock. Rows are kept per dock and only moved as the docks move.
// Removing asks first, in a window-modal message box.
class DocksPane final : public QWidget {
public:
    // The list shows the stores the dock editor is handed.
    explicit DocksPane(ProfileDetailPane::Inputs editor, QWidget* parent = nullptr);
    ~DocksPane() override;

    DocksPaneModel& model() { return model_; }
    // The rows in the list's order.
    std::vector<DockRow*> rows() const;
    DockRow* row(const Uuid& id) const;
    ListBarButton& addButton() const { return *add_; }
    ListBarButton& removeButton() const { return *remove_; }
    PaneBanner& recoveryBanner() const { return *recovery_; }
    PaneBanner& undoBanner() const { return *undo_; }
    // The removal's confirmation while it shows.
    QMessageBox* confirmation() const { return confirmation_; }
    // Made when a dock is first shown; then kept for every dock the list selects.
    ProfileDetailPane* detailPane() const { return detailPane_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* makeListColumn();
    QWidget* makeDetailColumn();
    void sync();
    void syncRows();
    void syncConfirmation();
    void syncDetail();
    void moveSelection(int step);

    ProfileDetailPane::Inputs editor_;
    ChordText chordText_;
    DocksPaneModel model_;
    PaneBanner* recovery_;
    PaneBanner* undo_;
    QSplitter* split_;
    QScrollArea* scroll_ = nullptr;
    QVBoxLayout* rowsLayout_ = nullptr;
    ListBarButton* add_ = nullptr;
    ListBarButton* remove_ = nullptr;
    QWidget* detail_ = nullptr;
    QWidget* emptyState_ = nullptr;
    ProfileDetailPane* detailPane_ = nullptr;
    std::map<Uuid, DockRow*> rowsByDock_;
    QPointer<QMessageBox> confirmation_;
    QPushButton* confirmButton_ = nullptr;
    Subscription changed_;
};

}  // namespace quillbern
