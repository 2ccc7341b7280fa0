#include "ui/settings/QtFolderPicker.h"

#include <QApplication>
#include <QFileDialog>
#include <QListView>
#include <QTreeView>

namespace quillbern {

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
