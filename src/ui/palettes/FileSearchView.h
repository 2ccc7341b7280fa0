#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "core/foundation/Subscription.h"
#include "core/palettes/FileSearchViewModel.h"
#include "core/palettes/PaletteViewFactory.h"
#include "ui/palettes/PaletteSlabView.h"

class QLabel;
class QListView;
class QToolButton;
class QVBoxLayout;

namespace quillbern {

class PaletteField;

// The file palette: the field, the path of the folders entered, and under a divider the
// refusal card, the search results or the level shown. The level's rows are drawn only
// as they come into view; past 8 rows they scroll in an area of 384 points. A row shows
// its picker button while hovered or selected; a file its date. The view keeps no model
// of its own: it reads the opening's state and tells the palette when its shape changed.
class FileSearchView final : public PaletteSlabView {
    Q_OBJECT
public:
    // What a row of the list's model gives besides its name.
    static constexpr int kDateRole = Qt::UserRole;
    static constexpr int kCaptionRole = Qt::UserRole + 1;

    FileSearchView(FileSearchViewInputs inputs, SystemAppearance& system, QWidget* parent = nullptr);
    ~FileSearchView() override;

    QSize sizeHint() const override;

    PaletteField* field() const { return field_; }
    QToolButton* clearButton() const { return clear_; }
    // The rows shown; null when no list is.
    QListView* list() const { return list_; }
    FileListContent shownContent() const { return shown_; }
    // The breadcrumb as it fits, and the content's labels by object name, for tests.
    QString shownBreadcrumb() const;

private:
    void stateChanged();
    void rebuild();
    void followSelection();

    FileSearchViewInputs inputs_;
    PaletteField* field_ = nullptr;
    QToolButton* clear_ = nullptr;
    QVBoxLayout* lower_ = nullptr;
    QWidget* lowerBox_ = nullptr;
    QListView* list_ = nullptr;
    // The note of a search without matches, which names the query as it is typed.
    QLabel* noMatch_ = nullptr;
    FileListContent shown_ = FileListContent::level;
    std::vector<std::string> signature_;
    bool rebuilding_ = false;
    Subscription stateObserver_;
};

}  // namespace quillbern
