#include "ui/foundation/IconThemeIndex.h"

#include <glib.h>

#include <QFile>
#include <algorithm>
#include <climits>
#include <memory>
#include <sys/stat.h>

#include "core/foundation/RegularFile.h"

namespace quillbern {

namespace {

// An index.theme lists its folders, hicolor's some four hundred; far beyond any theme.
constexpr std::uint64_t kMostIndexBytes = 1 << 20;
constexpr std::size_t kMostFoldersOfATheme = 4096;
// Themes inherit from a few others; a longer chain is no theme's.
constexpr std::size_t kMostThemes = 32;
// Names asked for: the applications' icons, the types of files, the symbols.
constexpr std::size_t kMostNamesKept = 4096;
// No icon is drawn larger.
constexpr int kMostSize = 4096;

const char* const kExtensions[] = {".png", ".svg", ".xpm"};

bool isFolder(const QString& path) {
    struct stat facts {};
    return ::stat(QFile::encodeName(path).constData(), &facts) == 0 && S_ISDIR(facts.st_mode);
}

bool isRegularFile(const QString& path) {
    struct stat facts {};
    return ::stat(QFile::encodeName(path).constData(), &facts) == 0 && S_ISREG(facts.st_mode);
}

// A name that stands for one file or folder in its folder, not a path.
bool isPlainName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

// A folder inside the theme's own.
bool isInsideTheme(const QString& folder) {
    return !folder.isEmpty() && !folder.startsWith(QLatin1Char('/')) &&
           !folder.split(QLatin1Char('/')).contains(QLatin1String(".."));
}

struct KeyFileDeleter {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileDeleter>;

QStringList listOf(GKeyFile* file, const char* group, const char* key) {
    QStringList values;
    gsize count = 0;
    if (gchar** list = g_key_file_get_string_list(file, group, key, &count, nullptr)) {
        for (gsize i = 0; i < count; ++i) {
            const QString value = QString::fromUtf8(list[i]).trimmed();
            if (!value.isEmpty()) values << value;
        }
        g_strfreev(list);
    }
    return values;
}

int integerOf(GKeyFile* file, const QByteArray& group, const char* key, int otherwise) {
    GError* error = nullptr;
    const int value = g_key_file_get_integer(file, group.constData(), key, &error);
    if (error) {
        g_error_free(error);
        return otherwise;
    }
    return std::clamp(value, 0, kMostSize);
}

}  // namespace

int ThemeIconFile::distanceTo(int pixels) const {
    if (pixels < fewestPixels) return fewestPixels - pixels;
    if (pixels > mostPixels) return pixels - mostPixels;
    return 0;
}

IconThemeIndex::IconThemeIndex(const QStringList& themes, const QStringList& baseFolders, QStringList pixmapFolders)
    : pixmapFolders_(std::move(pixmapFolders)) {
    for (const QString& base : baseFolders) {
        // Qt's own resources hold no theme of others.
        if (!base.startsWith(QLatin1Char(':'))) baseFolders_ << base;
    }
    for (const QString& theme : themes)
        addWithParents(theme);
    addWithParents(QStringLiteral("hicolor"));
}

void IconThemeIndex::addWithParents(const QString& name) {
    if (!isPlainName(name) || visited_.contains(name) || visited_.size() >= qsizetype(kMostThemes)) return;
    visited_ << name;
    QStringList roots;
    for (const QString& base : baseFolders_) {
        if (isFolder(base + QLatin1Char('/') + name)) roots << base + QLatin1Char('/') + name;
    }
    KeyFile index;
    for (const QString& root : roots) {
        const Result<std::string> bytes = readRegularFile(QFile::encodeName(root).toStdString() + "/index.theme",
                                                          kMostIndexBytes);
        if (!bytes) continue;
        index.reset(g_key_file_new());
        g_key_file_set_list_separator(index.get(), ',');
        if (g_key_file_load_from_data(index.get(), bytes.value().data(), bytes.value().size(), G_KEY_FILE_NONE,
                                      nullptr))
            break;
        index.reset();
    }
    // A theme whose index cannot be read is no theme.
    if (!index) return;
    static constexpr const char* kGroup = "Icon Theme";
    Theme theme;
    QStringList folders = listOf(index.get(), kGroup, "Directories") + listOf(index.get(), kGroup, "ScaledDirectories");
    folders.removeDuplicates();
    for (const QString& folder : folders) {
        if (theme.size() >= kMostFoldersOfATheme) break;
        if (!isInsideTheme(folder)) continue;
        const QByteArray group = folder.toUtf8();
        const int size = integerOf(index.get(), group, "Size", 0);
        if (size <= 0) continue;
        const int scale = std::max(1, integerOf(index.get(), group, "Scale", 1));
        gchar* typeText = g_key_file_get_string(index.get(), group.constData(), "Type", nullptr);
        const QString type = typeText ? QString::fromUtf8(typeText).trimmed() : QStringLiteral("Threshold");
        g_free(typeText);
        int fewest = size;
        int most = size;
        if (type == QLatin1String("Scalable")) {
            fewest = integerOf(index.get(), group, "MinSize", size);
            most = integerOf(index.get(), group, "MaxSize", size);
        } else if (type != QLatin1String("Fixed")) {
            const int threshold = integerOf(index.get(), group, "Threshold", 2);
            fewest = size - threshold;
            most = size + threshold;
        }
        for (const QString& root : roots) {
            const QString path = root + QLatin1Char('/') + folder;
            if (isFolder(path)) theme.push_back({path, fewest * scale, most * scale});
        }
    }
    const QStringList parents = listOf(index.get(), kGroup, "Inherits");
    index.reset();
    themes_.push_back(std::move(theme));
    for (const QString& parent : parents)
        addWithParents(parent);
}

const std::vector<ThemeIconFile>& IconThemeIndex::filesOf(const QString& name) const {
    if (const auto known = known_.find(name); known != known_.end()) return known->second;
    if (known_.size() >= kMostNamesKept) known_.clear();
    return known_.emplace(name, lookUp(name)).first->second;
}

std::vector<ThemeIconFile> IconThemeIndex::lookUp(const QString& name) const {
    std::vector<ThemeIconFile> files;
    if (!isPlainName(name)) return files;
    for (const Theme& theme : themes_) {
        for (const Folder& folder : theme) {
            for (const char* extension : kExtensions) {
                QString path = folder.path + QLatin1Char('/') + name + QLatin1String(extension);
                if (isRegularFile(path)) files.push_back({std::move(path), folder.fewestPixels, folder.mostPixels});
            }
        }
        if (!files.empty()) return files;
    }
    for (const QString& folder : pixmapFolders_) {
        for (const char* extension : kExtensions) {
            QString path = folder + QLatin1Char('/') + name + QLatin1String(extension);
            if (isRegularFile(path)) return {{std::move(path), 0, INT_MAX}};
        }
    }
    return files;
}

}  // namespace quillbern
