#pragma once

#include <QtGlobal>

#include "core/foundation/CappedLog.h"

namespace quillbern {

// Qt's own messages (about pictures, fonts, the platform) go to the program's log while it
// lives: escaped and cut as any text from outside, at most kPerSecond of them a second. A
// fatal one is always logged. One at a time; the handler before it comes back when it goes.
class QtMessageLog {
public:
    static constexpr int kPerSecond = 20;

    explicit QtMessageLog(const Clock& clock);
    ~QtMessageLog();
    QtMessageLog(const QtMessageLog&) = delete;
    QtMessageLog& operator=(const QtMessageLog&) = delete;

private:
    CappedLog log_;
    QtMessageHandler previous_;
};

}  // namespace quillbern
