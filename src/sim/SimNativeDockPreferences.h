#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/platform/NativeDockPreferences.h"
#include "sim/SimProcesses.h"

namespace quillbern {

// A desktop dock's settings as two copies: the one we read and write, and the one the dock
// itself goes by, which a synchronize that succeeds brings up to date. Synchronizing can be
// made to fail and restarting scripted; a test can play the user who changes the dock.
class SimNativeDockPreferences final : public NativeDockPreferences {
public:
    bool isSupported() const override { return supported_; }
    std::optional<Json> value(std::string_view key) const override;
    void setValue(std::string_view key, std::optional<Json> value) override;
    // A refused synchronize leaves the written values readable but not in the dock.
    bool synchronize() override;
    ProcessResult restartDock(Duration timeLimit) override;

    // What the dock goes by.
    std::optional<Json> dockValue(std::string_view key) const;
    // The user changes the dock's own setting: both copies take it.
    void userSets(std::string_view key, std::optional<Json> value);

    void setSupported(bool supported) { supported_ = supported; }
    // The next `count` synchronizations are refused.
    void refuseSynchronizations(int count) { refusals_ = count; }
    void scriptRestart(SimProcesses::Outcome outcome) { restartOutcome_ = std::move(outcome); }

    int writes() const { return writes_; }
    int synchronizations() const { return synchronizations_; }
    // The time limit of each restart.
    const std::vector<Duration>& restarts() const { return restarts_; }

private:
    using Values = std::map<std::string, Json, std::less<>>;
    static std::optional<Json> find(const Values& values, std::string_view key);
    static void assign(Values& values, std::string_view key, std::optional<Json> value);

    Values written_;
    Values dock_;
    bool supported_ = true;
    int refusals_ = 0;
    SimProcesses::Outcome restartOutcome_;
    int writes_ = 0;
    int synchronizations_ = 0;
    std::vector<Duration> restarts_;
};

}  // namespace quillbern
