#include "ui/settings/QtFolderPicker.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLayout>
#include <QListView>
#include <QLocale>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeView>
#include <algorithm>

namespace quillbern {

namespace {

// The columns where Qt's file model writes a file's type and date.
constexpr int kTypeColumn = 2;
constexpr int kDateColumn = 3;

// Qt opens its chooser at a size of its own, at which longer words than English's cut its
// column headers, its dates and its sidebar's names: the columns and the sidebar are given
// room for what they show, and the dialog for them, as far as the screen allows.
void fitToTexts(QFileDialog& dialog) {
    auto* sidebar = dialog.findChild<QListView*>("sidebar");
    auto* splitter = dialog.findChild<QSplitter*>("splitter");
    auto* details = dialog.findChild<QTreeView*>("treeView");
    if (!sidebar || !splitter || !details) return;
    QHeaderView& header = *details->header();
    // What those columns show of a folder, as Qt's model writes them.
    const QString type = dialog.iconProvider() ? dialog.iconProvider()->type(QFileInfo(QDir::homePath())) : QString();
    const QString date = QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    const int padding = 2 * details->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, details) +
                        details->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    int columns = 0;
    for (int column = 0; column < header.count(); ++column) {
        int width = std::max(header.sectionSize(column), header.sectionSizeHint(column));
        const QString shown = column == kTypeColumn ? type : column == kDateColumn ? date : QString();
        if (!shown.isEmpty()) width = std::max(width, details->fontMetrics().horizontalAdvance(shown) + padding);
        header.resizeSection(column, width);
        columns += width;
    }
    // Laid out once, the dialog gives its splitter its place; what stands inside the splitter
    // has none yet while the dialog is hidden, so its widths are added up from their parts.
    dialog.layout()->activate();
    const int sidebarWidth = sidebar->sizeHintForColumn(0) + 2 * sidebar->frameWidth() + padding;
    int detailsWidth = columns + details->verticalScrollBar()->sizeHint().width() + 2 * details->frameWidth();
    for (QWidget* holder = details->parentWidget(); holder && holder != splitter; holder = holder->parentWidget()) {
        if (const QLayout* layout = holder->layout())
            detailsWidth += layout->contentsMargins().left() + layout->contentsMargins().right();
        if (const auto* frame = qobject_cast<const QFrame*>(holder)) detailsWidth += 2 * frame->frameWidth();
    }
    const int around = dialog.width() - splitter->width();
    const QScreen* screen = dialog.parentWidget() ? dialog.parentWidget()->screen() : dialog.screen();
    const int width = std::min(std::max(dialog.width(), around + sidebarWidth + splitter->handleWidth() + detailsWidth),
                               screen->availableGeometry().width());
    dialog.resize(width, dialog.height());
    const int inside = width - around - splitter->handleWidth();
    splitter->setSizes({std::min(sidebarWidth, inside / 3), inside - std::min(sidebarWidth, inside / 3)});
}

}  // namespace

void QtFolderPicker::chooseFolders(const FolderPickerOptions& options,
                                   std::function<void(std::optional<std::vector<Path>>)> done) {
    auto* dialog = new QFileDialog(QApplication::activeWindow());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName("folderPicker");
    dialog->setWindowTitle(QString::fromStdString(options.title));
    dialog->setWindowModality(dialog->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    // The desktop's own dialog cannot take several folders at once.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setLabelText(QFileDialog::Accept, QString::fromStdString(options.prompt));
    if (options.startDirectory) dialog->setDirectory(QString::fromStdString(*options.startDirectory));
    if (options.allowsMultiple) {
        // Qt's folder mode picks one; its views take more once told so.
        for (auto* view : dialog->findChildren<QAbstractItemView*>()) {
            if (qobject_cast<QListView*>(view) || qobject_cast<QTreeView*>(view))
                view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        }
    }
    fitToTexts(*dialog);
    auto answered = std::make_shared<bool>(false);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, done, answered](int result) {
        if (*answered) return;
        *answered = true;
        if (result != QDialog::Accepted) {
            done(std::nullopt);
            return;
        }
        std::vector<Path> paths;
        for (const QString& file : dialog->selectedFiles())
            paths.push_back(QFile::encodeName(file).toStdString());
        done(std::move(paths));
    });
    dialog->open();
}

}  // namespace quillbern
