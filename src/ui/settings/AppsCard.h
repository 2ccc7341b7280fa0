#pragma once

#include <QWidget>
#include <map>
#include <string>

#include "core/settings/AppsCardModel.h"

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace quillbern {

class SettingsNoteLabel;
class SettingsSearchField;

// The body of a dock's "Apps" card: the search of installed applications with its status
// line and results, the dock's item rows (given by the pane), the folder and Trash buttons
// and the note of folders that could not be pinned. The pane hands it the installed
// applications each time its scan answers.
class AppsCard final : public QWidget {
public:
    AppsCard(AppsCardModel::Ports ports, Uuid profileID, QWidget* parent = nullptr);

    AppsCardModel& model() { return model_; }
    void setProfile(const Uuid& profileID) { model_.setProfile(profileID); }
    // Puts the dock's item rows between the results and the buttons.
    void setItemRows(QWidget* rows);

    SettingsSearchField& searchField() const { return *search_; }
    // "Reading your applications…" or "No apps match …"; hidden when there is nothing to say.
    QLabel& statusText() const { return *statusText_; }
    QWidget& statusLine() const { return *status_; }
    QWidget& results() const { return *results_; }
    QPushButton& addFolderButton() const { return *addFolder_; }
    QPushButton& addTrashButton() const { return *addTrash_; }
    SettingsNoteLabel& folderNote() const { return *note_; }

protected:
    // Tab follows the card from top to bottom: its rows are made after its buttons.
    bool focusNextPrevChild(bool next) override;

private:
    void refresh();
    QWidget* resultRow(const InstalledApp& app);

    AppsCardModel model_;
    SettingsSearchField* search_;
    QWidget* status_;
    QWidget* busy_;
    QLabel* statusText_;
    QWidget* resultsHolder_;
    QWidget* results_;
    QVBoxLayout* resultsLayout_;
    QVBoxLayout* itemRowsLayout_;
    QPushButton* addFolder_;
    QPushButton* addTrash_;
    SettingsNoteLabel* note_;
    Subscription changed_;
};

}  // namespace quillbern
