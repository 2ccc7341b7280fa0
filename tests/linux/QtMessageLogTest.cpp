#include <QLoggingCategory>
#include <QString>
#include <gtest/gtest.h>

#include "core/foundation/Log.h"
#include "linux/qt/QtMessageLog.h"
#include "sim/SimClock.h"
#include "sim/SimLog.h"

using namespace quillbern;

namespace {
Q_LOGGING_CATEGORY(svg, "qt.svg")
}  // namespace

TEST(QtMessageLog, QtsMessagesAreEscapedCutAndCappedEachSecond) {
    SimLog log;
    SimClock clock;
    {
        const QtMessageLog messages(clock);
        // A picture's address of megabytes, with a line break and a terminal's escape in it.
        const QString address = QStringLiteral("data:image/png;base64,\n\x1b[2J") + QString(4 << 20, u'A');
        qWarning("could not read %s", qPrintable(address));
        qCWarning(svg) << "bad\rpath";
        ASSERT_EQ(log.lines().size(), 2u);
        const std::string first = log.lines()[0];
        EXPECT_TRUE(first.starts_with("Quillbern: Qt warning: could not read data:image/png;base64,\\n\\x1b[2JAAA"));
        EXPECT_TRUE(first.ends_with("A…"));
        EXPECT_LT(first.size(), 300u);
        EXPECT_EQ(log.lines()[1], "Quillbern: Qt warning (qt.svg): bad\\rpath");

        log.clear();
        for (int n = 0; n < 1000; ++n)
            qWarning("again %d", n);
        ASSERT_EQ(log.lines().size(), std::size_t(QtMessageLog::kPerSecond) - 2 + 1);
        EXPECT_EQ(log.lines().back(),
                  "Quillbern: more than 20 Qt messages in a second; the rest of this second's are "
                  "left out");
        clock.advance(1);
        qWarning("a second later");
        EXPECT_EQ(log.lines().back(), "Quillbern: Qt warning: a second later");
    }
    log.clear();
    qInfo("after");
    EXPECT_TRUE(log.lines().empty()) << "the handler before it is back";
}
