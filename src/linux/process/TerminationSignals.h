#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace quillbern {

// Turns SIGTERM, SIGINT and SIGHUP into a call on the GUI thread, so the program quits
// through its ordinary shutdown instead of dying mid-write.
class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(std::function<void(int signal)> onSignal);
    ~TerminationSignals() override;

private:
    void readSignal();

    std::function<void(int)> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace quillbern
