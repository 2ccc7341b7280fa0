#include "core/platform/UserDirsFile.h"

#include <string_view>

#include "core/foundation/RegularFile.h"

namespace quillbern {

namespace {

// Far more than the few lines the file holds.
constexpr std::uint64_t kMaxFileBytes = 1 << 20;

}  // namespace

UserDirs readUserDirsFile(const std::filesystem::path& file, const Path& home) {
    UserDirs folders;
    const Result<std::string> text = readRegularFile(file, kMaxFileBytes);
    if (!text) return folders;
    std::string_view lines = text.value();
    while (!lines.empty()) {
        const std::size_t end = lines.find('\n');
        std::string_view rest = lines.substr(0, end);
        lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 1);
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
            rest.remove_prefix(1);
        const std::size_t keyEnd = rest.find_first_of(" \t=");
        const std::string_view key = rest.substr(0, keyEnd);
        if (key.empty() || keyEnd == std::string_view::npos) continue;
        rest.remove_prefix(keyEnd);
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
            rest.remove_prefix(1);
        if (!rest.starts_with("=")) continue;
        rest.remove_prefix(1);
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
            rest.remove_prefix(1);
        if (!rest.starts_with('"')) continue;
        rest.remove_prefix(1);
        std::string value;
        if (rest.starts_with("$HOME") && (rest.size() == 5 || rest[5] == '/' || rest[5] == '"')) {
            value = home;
            rest.remove_prefix(5);
        } else if (!rest.starts_with('/')) {
            continue;
        }
        bool closed = false;
        for (std::size_t i = 0; i < rest.size(); ++i) {
            if (rest[i] == '"') {
                closed = true;
                break;
            }
            if (rest[i] == '\\' && i + 1 < rest.size()) ++i;
            value += rest[i];
        }
        if (closed) folders.insert_or_assign(std::string(key), std::move(value));
    }
    return folders;
}

}  // namespace quillbern
