#pragma once

#include <mutex>

#include "core/foundation/Log.h"

namespace quillbern {

// Log lines to the system log and to standard error.
class SyslogSink final : public LogSink {
public:
    SyslogSink();
    ~SyslogSink() override;
    SyslogSink(const SyslogSink&) = delete;
    SyslogSink& operator=(const SyslogSink&) = delete;

    void write(std::string_view line) override;

private:
    std::mutex mutex_;
};

}  // namespace quillbern
