#pragma once

#include <QIcon>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

class QLabel;
class QPainter;
class QRectF;

#include "core/platform/Icons.h"

namespace quillbern {

// Application icons from their desktop entries, file icons from the shared-mime-info
// type of the file's name (folderIcon for folders), all through the icon theme or the files
// the entries name, read off the main thread, a generic picture standing in until they are
// (the program's own picture of a file where the themes have none); the pictures windows
// carry come from the window system.
class QtIcons final : public Icons {
public:
    // Every size of the picture a window of the process carries; none when it has none.
    using WindowPictures = std::function<std::vector<PixelBuffer>(Pid)>;

    explicit QtIcons(WindowPictures windowPictures = {});

    ImageHandle appIcon(const Path& appPath) const override;
    ImageHandle fileIcon(const Path& path) const override;
    ImageHandle runningAppIcon(Pid pid) const override;
    // The theme's executable icon, else the program's own picture of an application.
    ImageHandle genericAppIcon() const override;
    // Whenever the pictures from outside may have changed (OutsidePictures::onPicturesChanged).
    Subscription onChanged(Task changed) const override;

private:
    // An entry file as it stood when its icon was read.
    struct EntryStamp {
        std::uint64_t device, inode;
        std::int64_t size, seconds, nanoseconds;
        bool operator==(const EntryStamp&) const = default;
    };
    struct KnownIcon {
        EntryStamp stamp;
        // Its icon's file, else its names in the themes.
        QString file;
        QStringList names;
        // None for an entry that names no icon.
        ImageHandle image;
    };

    WindowPictures windowPictures_;
    // Reading an entry on every refresh of the docks would stall the main loop; an entry
    // is read again once its file changed.
    mutable std::map<Path, KnownIcon> appIcons_;
};

// Where the desktop names no icon theme of its own (a bare X session gives only hicolor), or
// one that is not installed (KDE's settings naming Breeze where only GNOME's theme is),
// icons are looked up in Adwaita too when it is installed. Once, after the application
// object exists.
void useCommonIconThemeAsFallback();

// Qt searches the icons folders of the XDG data folders that are there at its start; an
// application installed later may make one, the user's own among them, which is searched too.
// Once, after the application object exists, before icons are asked for.
void searchIconFoldersMadeLater();

// Has the themes' index made now, off the main thread, so that the first icons asked for find
// it. Once the program knows it is the running one.
void indexIconThemes();

// Applications were installed or removed: the icon themes' folders are looked at again now
// and a few times over the next seconds, since an icon may land after its entry.
void lookForInstalledIcons();

// Ends the reading of pictures from outside, at the end of the program, before the
// application object goes; false when its worker was left behind still reading.
bool stopReadingPictures();

// Qt's pixmap cache keeps every picture read from a file whole (a theme's 512-pixel one for
// an icon drawn at 64) until newer ones push it out; the icons keep the sizes they draw
// themselves. Once, after the application object exists.
void keepWholePicturesOutOfQtsPixmapCache();

// The first of the names that the icon themes hold a file of that can be drawn, found by the
// freedesktop rules among the themes Qt names (IconThemeIndex) and read as every picture file
// of others, off the main thread (OutsidePictures); `standIn` where none can be drawn, and
// while the picture is read. Only the sizes drawn are kept, in a cache of bounded size shared
// by every picture from outside, never the theme's whole picture.
QIcon themeIcon(const QStringList& names, const QIcon& standIn);

// A picture that stays one for as long as the themes Qt names stay: the theme's picture of
// the first of the names that can be drawn, else `own`. Which is chosen once, when the themes
// have answered (milliseconds after the start, since their index is made then), and kept
// however the pictures come and go from the cache; nothing is drawn until then, so a symbol
// never shows one picture and then another. For symbols, where names mean what they show.
QIcon steadyThemeIcon(const QStringList& names, const QIcon& own);

// The theme's icon of a folder, by its path alone: the user's own folders (home, Desktop,
// Documents, Downloads, Music, ...) by their own names where the theme has them, as file
// managers show them; the plain folder icon otherwise, and the program's own picture of a
// folder where the theme has none.
QIcon folderIcon(const Path& path);

// The theme's icon of the Trash, full where it has one, else the program's own picture.
QIcon trashIcon(bool full);

// Shows the icon at `side` in the label, and again whenever pictures from outside arrive
// while the label lives, so a label never keeps the stand-in drawn while its picture was read.
void showIconIn(QLabel& label, const QIcon& icon, int side);

// An image as a QIcon: its pixels where it carries them, else the QIcon behind an image of
// QtIcons; a null icon for no image.
QIcon qIcon(const ImageHandle& image);

// Fills the box with the icon, keeping its proportions: an icon whose largest picture is
// smaller than the box is scaled up rather than left small.
void paintIconFitted(QPainter& painter, const QRectF& box, const QIcon& icon);

}  // namespace quillbern
