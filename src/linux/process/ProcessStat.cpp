#include "linux/process/ProcessStat.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "core/foundation/RegularFile.h"

namespace quillbern {

namespace {

// A stat line is a few hundred bytes; a bound keeps any file put in its place from costing more.
constexpr std::uint64_t kStatBytes = 4096;

}  // namespace

std::optional<ProcessStat> processStatIn(std::string_view text) {
    const std::size_t nameEnd = text.rfind(')');
    if (nameEnd == std::string_view::npos) return std::nullopt;
    // After the name: the state, a single letter, then the parent.
    std::string_view rest = text.substr(nameEnd + 1);
    std::array<std::string_view, 2> fields{};
    for (std::string_view& field : fields) {
        const std::size_t start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos) break;
        rest.remove_prefix(start);
        const std::size_t end = std::min(rest.find_first_of(" \n"), rest.size());
        field = rest.substr(0, end);
        rest.remove_prefix(end);
        if (!rest.empty() && rest.front() == '\n') break;
    }
    if (fields[0].size() != 1) return std::nullopt;
    ProcessStat stat;
    Pid parent = 0;
    const std::string_view digits = fields[1];
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), parent);
    if (error == std::errc() && end == digits.data() + digits.size() && parent > 0) stat.parent = parent;
    return stat;
}

std::optional<ProcessStat> readProcessStat(const std::filesystem::path& file) {
    // A process's files open and then fail to read (ESRCH) once it has ended.
    const Result<std::string> text = readRegularFile(file, kStatBytes);
    if (!text) return std::nullopt;
    return processStatIn(text.value());
}

}  // namespace quillbern
