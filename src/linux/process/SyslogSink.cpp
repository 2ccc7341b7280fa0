#include "linux/process/SyslogSink.h"

#include <syslog.h>

#include <cstdio>
#include <string>

namespace quillbern {

SyslogSink::SyslogSink() {
    ::openlog("quillbern", LOG_PID, LOG_USER);
}

SyslogSink::~SyslogSink() {
    ::closelog();
}

void SyslogSink::write(std::string_view line) {
    const std::string text(line);
    std::lock_guard lock(mutex_);
    ::syslog(LOG_NOTICE, "%s", text.c_str());
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

}  // namespace quillbern
