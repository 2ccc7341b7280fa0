#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "core/foundation/Signal.h"
#include "core/platform/UrlEvents.h"

namespace quillbern {

// One Quillbern per session. The first start becomes the instance: it owns a well-known name
// on the session bus, where it answers org.freedesktop.Application, or, without a session
// bus, a lock and a socket in the runtime directory ($XDG_RUNTIME_DIR). A later start hands
// its arguments to the instance and ends; one without arguments asks for the program. Of two starts at the same moment
// exactly one becomes the instance. Main thread; needs the Qt application.
class SingleInstance final : public UrlEvents {
public:
    static constexpr const char* kBusName = "org.quillbern.Quillbern";
    static constexpr const char* kObjectPath = "/org/quillbern/Quillbern";

    enum class Outcome { instance, handedOver, failed };
    struct Claim {
        Outcome outcome;
        // Present for the instance; it must live as long as the program runs.
        std::unique_ptr<SingleInstance> instance;
    };
    // `arguments`: this start's arguments, the automation URLs it was given.
    static Claim claim(const std::vector<std::string>& arguments);

    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // This start's own URLs come first, once someone listens.
    Subscription onOpenUrls(std::function<void(const std::vector<std::string>&)> handler) override;
    Subscription onReopen(std::function<void()> handler) override;

private:
    SingleInstance();
    static Claim claimOnBus(const std::vector<std::string>& arguments);
    static Claim claimBySocket(const std::vector<std::string>& arguments);
    bool listenOnBus();
    bool listenOnSocket(int lockFd, const QString& socketPath);
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
    std::unique_ptr<QObject> endpoint_;
    int lockFd_ = -1;
};

}  // namespace quillbern
