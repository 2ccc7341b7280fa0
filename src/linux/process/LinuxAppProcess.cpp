#include "linux/process/LinuxAppProcess.h"

#include <malloc.h>
#include <unistd.h>

#include <QLocale>
#include <QPixmapCache>
#include <QStringList>
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/utsname.h>

#include "config/BuildConfig.h"

namespace quillbern {

Pid LinuxAppProcess::pid() const {
    return ::getpid();
}

Path LinuxAppProcess::executablePath() const {
    std::error_code error;
    Path path = std::filesystem::read_symlink("/proc/self/exe", error).string();
    constexpr std::string_view kReplaced = " (deleted)";
    if (path.ends_with(kReplaced)) path.resize(path.size() - kReplaced.size());
    return path;
}

std::vector<std::string> LinuxAppProcess::arguments() const {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::string> arguments;
    std::size_t start = 0;
    while (start < all.size()) {
        const std::size_t end = all.find('\0', start);
        arguments.push_back(all.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (!arguments.empty()) arguments.erase(arguments.begin());
    return arguments;
}

std::optional<std::string> LinuxAppProcess::version() const {
    if (build::kVersion.empty()) return std::nullopt;
    return std::string(build::kVersion);
}

std::optional<std::string> LinuxAppProcess::buildNumber() const {
    if (build::kBuildNumber.empty()) return std::nullopt;
    return std::string(build::kBuildNumber);
}

std::vector<std::string> LinuxAppProcess::preferredLanguages() const {
    const char* variable = std::getenv("LANGUAGE");
    std::vector<std::string> languages = languageTags(variable ? variable : "");
    for (const QString& language : QLocale::system().uiLanguages()) {
        for (std::string& tag : languageTags(language.toStdString())) {
            if (std::find(languages.begin(), languages.end(), tag) == languages.end())
                languages.push_back(std::move(tag));
        }
    }
    return languages;
}

std::optional<std::string> LinuxAppProcess::regionLanguage() const {
    const QLocale::Language language = QLocale::system().language();
    if (language == QLocale::C || language == QLocale::AnyLanguage) return std::nullopt;
    return QLocale::languageToCode(language).toStdString();
}

OsVersion LinuxAppProcess::osVersion() const {
    utsname names{};
    if (::uname(&names) != 0) return {};
    return osVersionOfRelease(names.release);
}

void LinuxAppProcess::quit() {
    if (quit_) quit_();
}

void LinuxAppProcess::releaseFreeMemory() {
    // glibc keeps freed pages in every thread's arena, and above the top of each only what
    // exceeds its trim threshold goes back on its own. Qt's pixmap cache holds pictures it can
    // make again, which the desktop that went quiet no longer shows.
    QPixmapCache::clear();
    malloc_trim(0);
}

std::vector<std::string> languageTags(std::string_view languageList) {
    std::vector<std::string> tags;
    std::size_t start = 0;
    while (start <= languageList.size()) {
        const std::size_t end = std::min(languageList.find(':', start), languageList.size());
        std::string_view entry = languageList.substr(start, end - start);
        // The charset and the modifier say nothing of the language.
        entry = entry.substr(0, entry.find_first_of(".@"));
        std::string tag(entry);
        std::replace(tag.begin(), tag.end(), '_', '-');
        const std::string_view primary = std::string_view(tag).substr(0, tag.find('-'));
        const bool isLanguage = primary.size() >= 2 && primary.size() <= 8 &&
                                std::all_of(primary.begin(), primary.end(),
                                            [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }) &&
                                primary != "POSIX";
        if (isLanguage && std::find(tags.begin(), tags.end(), tag) == tags.end()) tags.push_back(std::move(tag));
        start = end + 1;
    }
    return tags;
}

OsVersion osVersionOfRelease(std::string_view release) {
    int numbers[3] = {0, 0, 0};
    const char* at = release.data();
    const char* const end = release.data() + release.size();
    for (int index = 0; index < 3 && at < end; ++index) {
        const auto [next, error] = std::from_chars(at, end, numbers[index]);
        if (error != std::errc{}) break;
        at = next;
        if (at == end || *at != '.') break;
        ++at;
    }
    return {numbers[0], numbers[1], numbers[2]};
}

}  // namespace quillbern
