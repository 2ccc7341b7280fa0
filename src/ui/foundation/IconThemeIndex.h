#pragma once

#include <QString>
#include <QStringList>
#include <map>
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
// index.theme lists (read once, as every file of others is) in every base folder that holds
// the theme; a picture of the icon's name in the pixmap folders comes last. Only names are
// looked at here, never a picture's contents, and only regular files count. Main thread.
class IconThemeIndex {
public:
    // `themes`: the theme the desktop names, then its fallback (either may be empty or not
    // installed). `baseFolders`: where themes are installed, first found first.
    IconThemeIndex(const QStringList& themes, const QStringList& baseFolders, QStringList pixmapFolders);

    // Every file of the icon in the first theme that has it, in the order of the theme's
    // folders; else its picture in the pixmap folders; none when neither has it, or for a
    // name that is no file's name.
    const std::vector<ThemeIconFile>& filesOf(const QString& name) const;

private:
    struct Folder {
        QString path;
        int fewestPixels;
        int mostPixels;
    };
    using Theme = std::vector<Folder>;

    void addWithParents(const QString& theme);
    std::vector<ThemeIconFile> lookUp(const QString& name) const;

    QStringList baseFolders_;
    QStringList pixmapFolders_;
    QStringList visited_;
    // In the order they are searched.
    std::vector<Theme> themes_;
    mutable std::map<QString, std::vector<ThemeIconFile>> known_;
};

}  // namespace quillbern
