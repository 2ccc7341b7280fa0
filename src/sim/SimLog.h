#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Log.h"

namespace quillbern {

// Keeps every log line; installs itself as the process's sink while it lives.
class SimLog final : public LogSink {
public:
    SimLog();
    ~SimLog() override;
    SimLog(const SimLog&) = delete;
    SimLog& operator=(const SimLog&) = delete;

    void write(std::string_view line) override;
    std::vector<std::string> lines() const;
    // How many lines contain `text`.
    int count(std::string_view text) const;
    bool contains(std::string_view text) const { return count(text) > 0; }
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    LogSink* previous_;
};

}  // namespace quillbern
