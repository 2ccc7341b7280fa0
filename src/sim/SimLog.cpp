#include "sim/SimLog.h"

namespace quillbern {

SimLog::SimLog() : previous_(setLogSink(this)) {}

SimLog::~SimLog() {
    setLogSink(previous_);
}

void SimLog::write(std::string_view line) {
    std::lock_guard lock(mutex_);
    lines_.emplace_back(line);
}

std::vector<std::string> SimLog::lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

int SimLog::count(std::string_view text) const {
    std::lock_guard lock(mutex_);
    int n = 0;
    for (const auto& line : lines_)
        n += line.find(text) != std::string::npos ? 1 : 0;
    return n;
}

void SimLog::clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
}

}  // namespace quillbern
