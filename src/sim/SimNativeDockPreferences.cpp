#include "sim/SimNativeDockPreferences.h"

namespace quillbern {

std::optional<Json> SimNativeDockPreferences::value(std::string_view key) const {
    return find(written_, key);
}

void SimNativeDockPreferences::setValue(std::string_view key, std::optional<Json> value) {
    ++writes_;
    assign(written_, key, std::move(value));
}

bool SimNativeDockPreferences::synchronize() {
    ++synchronizations_;
    if (refusals_ > 0) {
        --refusals_;
        return false;
    }
    dock_ = written_;
    return true;
}

ProcessResult SimNativeDockPreferences::restartDock(Duration timeLimit) {
    restarts_.push_back(timeLimit);
    return SimProcesses::resultOf(restartOutcome_, timeLimit);
}

std::optional<Json> SimNativeDockPreferences::dockValue(std::string_view key) const {
    return find(dock_, key);
}

void SimNativeDockPreferences::userSets(std::string_view key, std::optional<Json> value) {
    assign(written_, key, value);
    assign(dock_, key, std::move(value));
}

std::optional<Json> SimNativeDockPreferences::find(const Values& values, std::string_view key) {
    const auto found = values.find(key);
    if (found == values.end()) return std::nullopt;
    return found->second;
}

void SimNativeDockPreferences::assign(Values& values, std::string_view key, std::optional<Json> value) {
    if (value) {
        values.insert_or_assign(std::string(key), std::move(*value));
    } else if (const auto found = values.find(key); found != values.end()) {
        values.erase(found);
    }
}

}  // namespace quillbern
