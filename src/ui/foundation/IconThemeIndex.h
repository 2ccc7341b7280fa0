#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace quillbern {

// A file of a theme's icon, the sizes it suits as it is (one for a picture of one size, a
// range for a scalable one, every size for a picture outside the themes) and the scale its
// folder is drawn for.
struct ThemeIconFile {
    QString path;
    int fewestSize = 0;
    int mostSize = 0;
    int scale = 1;

    // Whether the file is made for that size at that scale: the scale first.
    bool suits(int size, int scale) const;
    // How far, in pixels, the sizes the file suits lie from that size at that scale.
    int distanceTo(int size, int scale) const;
};

// The icon themes of the desktop as the freedesktop rules read them: the themes named, each
// followed by the themes it inherits from, then hicolor; a theme's folders are those its
// index.theme lists (read as every file of others is) in every base folder that holds the
// theme, and the names of their pictures are listed once, when the index is made; a picture
// of the icon's name in the folders of unthemed pictures comes last. Only names are looked at
// here, never a picture's contents, and only regular files count. Every folder a theme lists,
// there or not, counts toward one bound for all the themes, hicolor's counted first, since
// the applications' icons are there. Made and checked on the pictures' worker; once made it
// changes no more, so the main thread may read a copy.
class IconThemeIndex {
public:
    // Past it a theme's further folders are not searched.
    static constexpr std::size_t kMostFolders = 8192;

    // `themes`: the theme the desktop names, then its fallback (either may be empty or not
    // installed). `baseFolders`: where themes are installed, first found first.
    // `unthemedFolders`: where pictures of no theme are, searched in that order.
    IconThemeIndex(const QStringList& themes, const QStringList& baseFolders, const QStringList& unthemedFolders);

    // Every file of the icon in the first theme that has it, in the order of the theme's
    // folders; else its picture in the folders of unthemed pictures; none when neither has
    // it, or for a name that is no file's name.
    std::vector<ThemeIconFile> filesOf(const QString& name) const;
    // Whether a theme lists a picture of the name, by the listings alone.
    bool lists(const QString& name) const;

    // Whether every folder of the themes is as it was listed: none came or went, nothing was
    // installed into or removed from one. A stat of each. False while one had changed within
    // the grain of file time stamps before the index was made: it may have changed again
    // since without its time stamp changing.
    bool isCurrent() const;

private:
    // Whether a path is a folder, and when what it holds last changed where that counts.
    struct FolderState {
        bool isFolder = false;
        std::int64_t seconds = 0;
        std::int64_t nanoseconds = 0;
        bool operator==(const FolderState&) const = default;
        static FolderState of(const QByteArray& path, bool withContents);
        std::int64_t changedAt() const { return seconds * 1'000'000'000 + nanoseconds; }
    };
    struct Watched {
        QByteArray path;
        // A theme's own folder counts by being there; the folders of its pictures by what they hold too.
        bool withContents;
        FolderState state;
    };
    struct Folder {
        QString path;
        int fewestSize;
        int mostSize;
        int scale;
    };
    // A picture of an icon: its folder and its name's extension.
    struct Picture {
        std::uint16_t folder;
        std::uint8_t extension;
        auto operator<=>(const Picture&) const = default;
    };
    struct Theme {
        std::vector<Folder> folders;
        std::unordered_map<QString, std::vector<Picture>> icons;
    };
    // A theme as its index.theme has it, before its folders are looked at.
    struct Declared;

    void addWithParents(const QString& theme, std::vector<Declared>& declared);
    Theme folded(const Declared& theme);
    // Whether the path is a folder, which isCurrent will look at again.
    bool watchedFolder(const QString& path, bool withContents);
    void listPictures(Theme& theme);

    QStringList baseFolders_;
    QStringList visited_;
    // In the order they are searched.
    std::vector<Theme> themes_;
    Theme unthemed_;
    std::size_t listedBytes_ = 0;
    std::size_t listedFolders_ = 0;
    // Every folder a theme may have, whether it is one or not.
    std::vector<Watched> watched_;
    // In nanoseconds since the epoch: a folder whose contents changed since then may have
    // changed again unseen.
    std::int64_t unsettledSince_ = 0;
};

}  // namespace quillbern
