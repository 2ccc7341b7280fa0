#include "ui/foundation/DialogPlacement.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QWindow>

namespace quillbern {

namespace {

const char* const kWatchName = "placedAtShow";
const char* const kPlacementName = "dialogPlacement";

// Holds a dialog where it was placed as it showed, until its window is first exposed: by then
// the window manager has framed and placed it. Before that, each change of the dialog's size
// or place is looked at, since Qt sends the place it believes with every resize.
class PlacedAtShow final : public QObject {
public:
    explicit PlacedAtShow(QDialog& dialog) : QObject(&dialog), dialog_(dialog), placed_(dialog.geometry().topLeft()) {
        setObjectName(kWatchName);
        dialog.installEventFilter(this);
        dialog.windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
                keepPlaced();
                break;
            case QEvent::Expose:
                if (watched != &dialog_ && dialog_.windowHandle()->isExposed()) {
                    keepPlaced();
                    dialog_.removeEventFilter(this);
                    watched->removeEventFilter(this);
                    deleteLater();
                }
                break;
            default:
                break;
        }
        return false;
    }

private:
    // The native window's place, which Qt may have read from the frame's corner before the
    // window manager moved the frame, and which the widget does not always hear of.
    void keepPlaced() {
        QWindow* window = dialog_.windowHandle();
        if (window->position() != placed_) window->setPosition(placed_);
    }

    QDialog& dialog_;
    QPoint placed_;
};

class DialogPlacement final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Sent once the dialog has shown and Qt has placed it.
        if (event->type() != QEvent::ShowToParent) return false;
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (!dialog || !dialog->isWindow() || !dialog->windowHandle()) return false;
        // A dialog shown again before it was ever exposed keeps one watch, of its latest place.
        delete dialog->findChild<QObject*>(kWatchName, Qt::FindDirectChildrenOnly);
        new PlacedAtShow(*dialog);
        return false;
    }
};

}  // namespace

void placeDialogsOverTheirWindows() {
    QCoreApplication* application = QCoreApplication::instance();
    if (application->findChild<QObject*>(kPlacementName, Qt::FindDirectChildrenOnly)) return;
    auto* placement = new DialogPlacement(application);
    placement->setObjectName(kPlacementName);
    application->installEventFilter(placement);
}

}  // namespace quillbern
