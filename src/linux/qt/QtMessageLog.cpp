#include "linux/qt/QtMessageLog.h"

#include <QString>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>

#include "core/foundation/Log.h"

namespace quillbern {

namespace {

std::atomic<CappedLog*> current{nullptr};

const char* kindOf(QtMsgType type) {
    switch (type) {
        case QtDebugMsg:
            return "debug";
        case QtInfoMsg:
            return "info";
        case QtWarningMsg:
            return "warning";
        case QtCriticalMsg:
            return "critical";
        case QtFatalMsg:
            return "fatal";
    }
    return "message";
}

void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    std::string line = std::string("Qt ") + kindOf(type);
    if (context.category && std::strcmp(context.category, "default") != 0)
        line += " (" + escapedForLog(context.category) + ")";
    // Only the part a line shows is converted, a message may be megabytes long; a character
    // takes at most two units, so one more than a line shows remains and the cut is marked.
    const qsizetype shown = std::min<qsizetype>(message.size(), 2 * (kLoggedTextLength + 1));
    line += ": " + escapedForLog(message.first(shown).toStdString());
    CappedLog* log = current.load();
    if (type == QtFatalMsg || !log) {
        logLine(line);
    } else {
        log->log(line);
    }
}

}  // namespace

QtMessageLog::QtMessageLog(const Clock& clock) : log_(clock, "Qt messages", kPerSecond) {
    current.store(&log_);
    previous_ = qInstallMessageHandler(handle);
}

QtMessageLog::~QtMessageLog() {
    qInstallMessageHandler(previous_);
    current.store(nullptr);
}

}  // namespace quillbern
