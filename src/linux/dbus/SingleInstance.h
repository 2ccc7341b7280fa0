#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "core/foundation/Signal.h"
#include "core/platform/UrlEvents.h"

namespace quillbern {

class HandOverSocket;

// One Quillbern per session, however it is started. A lock in the runtime directory
// ($XDG_RUNTIME_DIR) decides: its holder is the instance, and the kernel lets go of it
// however the holder ends. The instance listens on a socket beside the lock, where every
// later start hands over its arguments and waits until the instance confirms them; a start
// that gets no answer tries again to become the instance, and gives up only while the lock
// stays with one that never answers. Without arguments a start asks for the program. While
// there is a session bus, the instance also answers org.freedesktop.Application under a
// well-known name there, for other programs. Main thread; needs the Qt application.
class SingleInstance final : public UrlEvents {
public:
    static constexpr const char* kBusName = "org.quillbern.Quillbern";
    static constexpr const char* kObjectPath = "/org/quillbern/Quillbern";

    enum class Outcome { instance, handedOver, failed };
    // A relaunch is started while the copy it replaces is still ending: rather than hand its
    // arguments over to that one, it waits for the lock, as long as a start waits for an
    // answer, before it meets a running Quillbern as every start does.
    enum class Start { plain, relaunch };
    struct Claim {
        Outcome outcome;
        // Present for the instance; it must live as long as the program runs.
        std::unique_ptr<SingleInstance> instance;
    };
    // `arguments`: this start's arguments, the automation URLs it was given.
    static Claim claim(const std::vector<std::string>& arguments, Start start);
    // Which start this is, as AppRelauncher's variable tells; unsets it, so the programs this
    // one starts never inherit it. Once, before any thread starts, since it sets the environment.
    static Start takeStart();
    // For a start that cannot run itself: hands its arguments to the running instance.
    // False when none runs, or it did not answer (logged).
    static bool handOver(const std::vector<std::string>& arguments);

    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // This start's own URLs come first, once someone listens.
    Subscription onOpenUrls(std::function<void(const std::vector<std::string>&)> handler) override;
    Subscription onReopen(std::function<void()> handler) override;

private:
    explicit SingleInstance(int lockFd);
    // Becomes the instance when none runs and `mayRun`; otherwise hands over to it.
    static Claim meet(const std::vector<std::string>& arguments, bool mayRun, Start start);
    bool listenOnSocket(const QString& socketPath);
    void listenOnBus();
    void deliver(std::vector<std::string> urls);
    void deliverUnheard();
    void reopen();

    // Where deliveries are queued to.
    QObject context_;
    Signal<std::vector<std::string>> batches_;
    Signal<> reopens_;
    // Batches that came before anyone listened.
    std::vector<std::vector<std::string>> unheard_;
    bool reopenUnheard_ = false;
    std::unique_ptr<HandOverSocket> handOverSocket_;
    std::unique_ptr<QObject> busObject_;
    bool holdsBusName_ = false;
    int lockFd_;
};

}  // namespace quillbern
