#include "linux/process/LinuxAppProcess.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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

void LinuxAppProcess::quit() {
    if (quit_) quit_();
}

}  // namespace quillbern
