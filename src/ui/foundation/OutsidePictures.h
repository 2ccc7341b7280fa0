#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "core/foundation/Subscription.h"

class QObject;

namespace quillbern {

class PictureReader;

// A picture from outside as a view asks for it: a picture file by its path, or the first of
// an icon's names that the icon themes hold a file of that can be drawn.
struct PictureSource {
    QString file;
    QStringList names;

    QString key() const;
};

// The pictures that others write (the icon files desktop entries name, the icon themes'
// pictures), found on a worker thread of their own (`quillbern.pics`) and read there, one at a
// time, best first, through the picture reader, whose process reads each within its bounds
// and is ended when it overruns its time; never on the main thread. So is the themes' index
// (IconThemeIndex), made and checked there, whose copy the main thread gets once it is made.
// A picture not read within its first short time is read again, for longer, once every picture
// asked meanwhile has had its first, then given up. The main thread draws what has arrived,
// never waits for it: a view draws a stand-in meanwhile, and every shown window repaints when
// pictures arrive. What arrived is kept at the sizes drawn, within a bound. Main thread.
class OutsidePictures {
public:
    static OutsidePictures& shared();

    // What reads the pictures, from before the first is asked for on; none: every picture
    // from outside leaves its stand-in.
    void readWith(std::unique_ptr<PictureReader> reader);

    // The icon themes are searched from now on where Qt searches them now, and Qt's own
    // lookups (the icons of its menus and dialogs, which it would decode in this process)
    // search nowhere. Once, before the first picture is asked for.
    void takeThemeFoldersFromQt();

    // The picture at that size in pixels, drawn for that scale, once it has arrived; null
    // while it is read (it is asked for here) or when none can be drawn, which `unreadable`
    // then tells.
    QPixmap pixmap(const PictureSource& source, QSize pixels, int scale, bool& unreadable);

    // Whether the themes list a picture of one of the names, by the index last made; none
    // while no index of the themes Qt names now has arrived (it is asked for here). Names it
    // lacks have the worker look whether the themes' folders changed, once in a while.
    std::optional<bool> themesList(const QStringList& names);

    // Applications were installed or removed: the themes' folders are looked at now and a
    // few times over the next seconds, since an icon may land after its entry, and each look
    // asks again for the pictures that could not be read.
    void lookForInstalledPictures();

    // Tells when pictures an application's entry names may have come or gone: an index of the
    // themes arrived, or their folders were looked at after applications were installed.
    [[nodiscard]] Subscription onPicturesChanged(std::function<void()> changed);

    // How many pictures are being read.
    int beingRead() const;

    // How often the themes Qt names have changed while the program ran, as noticed here: a
    // choice made among the themes' pictures holds until it grows.
    int themeChanges();

    // Stops the reading, a picture under way given up at once, and ends the worker, waiting
    // for it at most WorkerStop's limit; false when it was left behind. Nothing is read
    // afterwards.
    bool stop();

    // Calls `arrived` after each arrival of pictures has repainted the shown windows, while
    // `context` lives: for what holds a picture drawn once, such as a label's.
    void whenArrived(QObject* context, std::function<void()> arrived);

    OutsidePictures(const OutsidePictures&) = delete;
    OutsidePictures& operator=(const OutsidePictures&) = delete;

private:
    OutsidePictures();
    ~OutsidePictures();
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace quillbern
