#include "ui/foundation/IconThemeIndex.h"

#include <dirent.h>
#include <glib.h>

#include <QFile>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <memory>
#include <sys/stat.h>

#include "core/foundation/Log.h"
#include "core/foundation/RegularFile.h"

namespace quillbern {

namespace {

// hicolor's index.theme lists some four hundred folders in 55 KB: far beyond any theme.
constexpr std::uint64_t kMostIndexBytes = 1 << 20;
// Themes inherit from a few others; a longer chain is no theme's.
constexpr std::size_t kMostThemes = 32;
const QString kHicolor = QStringLiteral("hicolor");
// What the listings may take: the themes of a desktop hold a few thousand names in a few
// sizes each (Adwaita and hicolor some 5,500 pictures, under 1 MB), whatever a package put
// into a folder.
constexpr std::size_t kMostListedBytes = 16 << 20;
// What an entry of a listing counts for, a picture or not, and what a name of an icon
// counts for beside its letters.
constexpr std::size_t kEntryBytes = 16;
constexpr std::size_t kNameBytes = 96;
// No icon is drawn larger.
constexpr int kMostSize = 4096;
// File systems stamp a change to the tick of a coarse clock, some to the second: two changes
// within it leave one time stamp.
constexpr std::int64_t kStampGrainNanoseconds = 1'000'000'000;

constexpr std::string_view kExtensions[] = {".png", ".svg", ".xpm"};

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

// Logs the first time a bound is reached in a run: the next index reaches it again.
void logBoundReached(std::atomic<bool>& logged, const char* what) {
    if (!logged.exchange(true)) log("the icon themes ", what, "; the rest of them is not searched");
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

IconThemeIndex::FolderState IconThemeIndex::FolderState::of(const QByteArray& path, bool withContents) {
    struct stat facts {};
    if (::stat(path.constData(), &facts) != 0 || !S_ISDIR(facts.st_mode)) return {};
    if (!withContents) return {true};
    return {true, facts.st_mtim.tv_sec, facts.st_mtim.tv_nsec};
}

bool ThemeIconFile::suits(int size, int wantedScale) const {
    return scale == wantedScale && size >= fewestSize && size <= mostSize;
}

int ThemeIconFile::distanceTo(int size, int wantedScale) const {
    const long long pixels = (long long)size * wantedScale;
    const long long fewest = (long long)fewestSize * scale;
    const long long most = (long long)mostSize * scale;
    if (pixels < fewest) return int(std::min<long long>(fewest - pixels, INT_MAX));
    if (pixels > most) return int(std::min<long long>(pixels - most, INT_MAX));
    return 0;
}

struct IconThemeIndex::Declared {
    QStringList roots;
    struct Listed {
        QString folder;
        int fewestSize;
        int mostSize;
        int scale;
    };
    std::vector<Listed> folders;
};

IconThemeIndex::IconThemeIndex(const QStringList& themes, const QStringList& baseFolders,
                               const QStringList& unthemedFolders) {
    unsettledSince_ =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count() -
        kStampGrainNanoseconds;
    for (const QString& base : baseFolders) {
        // Qt's own resources hold no theme of others.
        if (!base.startsWith(QLatin1Char(':'))) baseFolders_ << base;
    }
    // hicolor comes last whoever inherits from it, as the rules have it, but its folders
    // are counted first.
    std::vector<Declared> declared;
    for (const QString& theme : themes) {
        if (theme != kHicolor) addWithParents(theme, declared);
    }
    const std::size_t others = declared.size();
    addWithParents(kHicolor, declared);
    themes_.resize(declared.size());
    if (declared.size() > others) themes_.back() = folded(declared.back());
    for (std::size_t at = 0; at < others; ++at)
        themes_[at] = folded(declared[at]);
    for (Theme& theme : themes_)
        listPictures(theme);
    // The pictures of no theme, listed as a theme's folders of every size.
    for (const QString& folder : unthemedFolders) {
        if (watchedFolder(folder, true)) unthemed_.folders.push_back({folder, 0, INT_MAX, 1});
    }
    listPictures(unthemed_);
}

void IconThemeIndex::addWithParents(const QString& name, std::vector<Declared>& declared) {
    if (!isPlainName(name) || visited_.contains(name)) return;
    if (visited_.size() >= qsizetype(kMostThemes)) {
        static std::atomic<bool> logged{false};
        logBoundReached(logged, "inherit from more themes than any theme does");
        return;
    }
    visited_ << name;
    QStringList roots;
    for (const QString& base : baseFolders_) {
        if (watchedFolder(base + QLatin1Char('/') + name, false)) roots << base + QLatin1Char('/') + name;
    }
    KeyFile index;
    for (const QString& root : roots) {
        const Result<std::string> bytes =
            readRegularFile(QFile::encodeName(root).toStdString() + "/index.theme", kMostIndexBytes);
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
    Declared theme{roots, {}};
    QStringList folders = listOf(index.get(), kGroup, "Directories") + listOf(index.get(), kGroup, "ScaledDirectories");
    folders.removeDuplicates();
    for (const QString& folder : folders) {
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
        theme.folders.push_back({folder, fewest, most, scale});
    }
    const QStringList parents = listOf(index.get(), kGroup, "Inherits");
    index.reset();
    declared.push_back(std::move(theme));
    for (const QString& parent : parents) {
        if (parent != kHicolor) addWithParents(parent, declared);
    }
}

IconThemeIndex::Theme IconThemeIndex::folded(const Declared& declared) {
    Theme theme;
    for (const Declared::Listed& listed : declared.folders) {
        for (const QString& root : declared.roots) {
            if (listedFolders_ >= kMostFolders) {
                static std::atomic<bool> logged{false};
                logBoundReached(logged, "list more than 8192 folders");
                return theme;
            }
            ++listedFolders_;
            const QString path = root + QLatin1Char('/') + listed.folder;
            if (watchedFolder(path, true))
                theme.folders.push_back({path, listed.fewestSize, listed.mostSize, listed.scale});
        }
    }
    return theme;
}

bool IconThemeIndex::watchedFolder(const QString& path, bool withContents) {
    Watched watched{QFile::encodeName(path), withContents, {}};
    watched.state = FolderState::of(watched.path, withContents);
    watched_.push_back(watched);
    return watched.state.isFolder;
}

bool IconThemeIndex::isCurrent() const {
    return std::ranges::all_of(watched_, [this](const Watched& folder) {
        return folder.state.changedAt() < unsettledSince_ &&
               FolderState::of(folder.path, folder.withContents) == folder.state;
    });
}

void IconThemeIndex::listPictures(Theme& theme) {
    for (std::size_t at = 0; at < theme.folders.size(); ++at) {
        DIR* folder = ::opendir(QFile::encodeName(theme.folders[at].path).constData());
        if (!folder) continue;
        while (const dirent* entry = ::readdir(folder)) {
            if (listedBytes_ >= kMostListedBytes) {
                static std::atomic<bool> logged{false};
                logBoundReached(logged, "hold more pictures than any desktop's themes do");
                break;
            }
            listedBytes_ += kEntryBytes;
            const std::string_view file(entry->d_name);
            for (std::uint8_t extension = 0; extension < std::size(kExtensions); ++extension) {
                if (file.size() <= kExtensions[extension].size() || !file.ends_with(kExtensions[extension])) continue;
                const std::string_view name = file.substr(0, file.size() - kExtensions[extension].size());
                auto [icon, added] =
                    theme.icons.try_emplace(QFile::decodeName(QByteArray(name.data(), qsizetype(name.size()))));
                icon->second.push_back({std::uint16_t(at), extension});
                if (added) listedBytes_ += kNameBytes + 2 * name.size();
            }
        }
        ::closedir(folder);
    }
    // The order of the folders, whatever the order of the listings.
    for (auto& [name, pictures] : theme.icons)
        std::ranges::sort(pictures);
}

std::vector<ThemeIconFile> IconThemeIndex::filesOf(const QString& name) const {
    std::vector<ThemeIconFile> files;
    if (!isPlainName(name)) return files;
    for (const Theme& theme : themes_) {
        const auto pictures = theme.icons.find(name);
        if (pictures == theme.icons.end()) continue;
        for (const Picture& picture : pictures->second) {
            const Folder& folder = theme.folders[picture.folder];
            const std::string_view extension = kExtensions[picture.extension];
            QString path =
                folder.path + QLatin1Char('/') + name + QLatin1String(extension.data(), qsizetype(extension.size()));
            if (isRegularFile(path))
                files.push_back({std::move(path), folder.fewestSize, folder.mostSize, folder.scale});
        }
        if (!files.empty()) return files;
    }
    // Found as listed, in the order of the folders, whatever the extension.
    if (const auto pictures = unthemed_.icons.find(name); pictures != unthemed_.icons.end()) {
        for (const Picture& picture : pictures->second) {
            const std::string_view extension = kExtensions[picture.extension];
            QString path = unthemed_.folders[picture.folder].path + QLatin1Char('/') + name +
                           QLatin1String(extension.data(), qsizetype(extension.size()));
            if (isRegularFile(path)) return {{std::move(path), 0, INT_MAX, 1}};
        }
    }
    return files;
}

bool IconThemeIndex::lists(const QString& name) const {
    return unthemed_.icons.contains(name) ||
           std::ranges::any_of(themes_, [&name](const Theme& theme) { return theme.icons.contains(name); });
}

}  // namespace quillbern
