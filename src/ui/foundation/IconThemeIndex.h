#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace quillbern {

// A file of a theme's icon, and the sizes in pixels it suits as it is: one for a picture of
// one size, a range for a scalable one, every size for a picture outside the themes.
struct ThemeIconFile {
    QString path;
    int fewestPixels = 0;
    int mostPixels = 0;

    // How far the sizes the file suits lie from `pixels`; 0 where it suits them.
    int distanceTo(int pixels) const;
};

// The icon themes of the desktop as the freedesktop rules read them: the themes named, each
// followed by the themes it inherits from, then hicolor; a theme's folders are those its
// index.theme lists (read as every file of others is) in every base folder that holds the
// theme, and the names of their pictures are listed once, when the index is made; a picture
// of the icon's name in the pixmap folders comes last. Only names are looked at here, never a
// picture's contents, and only regular files count. Main thread.
class IconThemeIndex {
public:
    // `themes`: the theme the desktop names, then its fallback (either may be empty or not
    // installed). `baseFolders`: where themes are installed, first found first.
    IconThemeIndex(const QStringList& themes, const QStringList& baseFolders, QStringList pixmapFolders);

    // Every file of the icon in the first theme that has it, in the order of the theme's
    // folders; else its picture in the pixmap folders; none when neither has it, or for a
    // name that is no file's name.
    std::vector<ThemeIconFile> filesOf(const QString& name) const;

    // Whether every folder of the themes is as it was listed: none came or went, nothing was
    // installed into or removed from one. A stat of each.
    bool isCurrent() const;

private:
    // Whether a path is a folder, and when what it holds last changed where that counts.
    struct FolderState {
        bool isFolder = false;
        std::int64_t seconds = 0;
        std::int64_t nanoseconds = 0;
        bool operator==(const FolderState&) const = default;
        static FolderState of(const QByteArray& path, bool withContents);
    };
    struct Watched {
        QByteArray path;
        // A theme's own folder counts by being there; the folders of its pictures by what they hold too.
        bool withContents;
        FolderState state;
    };
    struct Folder {
        QString path;
        int fewestPixels;
        int mostPixels;
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

    void addWithParents(const QString& theme);
    // Whether the path is a folder, which isCurrent will look at again.
    bool watchedFolder(const QString& path, bool withContents);
    void listPictures(Theme& theme);

    QStringList baseFolders_;
    QStringList pixmapFolders_;
    QStringList visited_;
    // In the order they are searched.
    std::vector<Theme> themes_;
    std::size_t listedBytes_ = 0;
    // Every folder a theme may have, whether it is one or not.
    std::vector<Watched> watched_;
};

}  // namespace quillbern
