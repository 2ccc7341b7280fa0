// A start of the program cut down to its single instance, for the tests. The instance
// writes "instance", then a line for each hand-over ("open URL…" or "reopen") to standard
// output and runs until it is ended; it holds GIO's session bus as the program's settings
// and launches do. Another start ends with status 0 once it handed over, else with 1.
#include <QCoreApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "linux/dbus/SessionBusLoss.h"
#include "linux/dbus/SingleInstance.h"

using namespace quillbern;

namespace {

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const SingleInstance::Start start = SingleInstance::takeStart();
    QCoreApplication application(argc, argv);
    SingleInstance::Claim claim = SingleInstance::claim(std::vector<std::string>(argv + 1, argv + argc), start);
    if (claim.outcome != SingleInstance::Outcome::instance)
        return claim.outcome == SingleInstance::Outcome::handedOver ? 0 : 1;
    const SessionBusLoss sessionBusLoss;
    const Subscription opens = claim.instance->onOpenUrls([](const std::vector<std::string>& urls) {
        std::string line = "open";
        for (const std::string& url : urls)
            line += " " + url;
        say(line);
    });
    const Subscription reopens = claim.instance->onReopen([] { say("reopen"); });
    say("instance");
    return QCoreApplication::exec();
}
