#include "sim/SimDefaults.h"

namespace quillbern {

int SimDefaults::writeCount(const std::string& key) const {
    const auto found = writes_.find(key);
    return found == writes_.end() ? 0 : found->second;
}

void SimDefaults::resetWriteCounts() {
    writes_.clear();
    totalWrites_ = 0;
}

void SimDefaults::persist(const Json&, std::string_view changedKey) {
    ++writes_[std::string(changedKey)];
    ++totalWrites_;
}

}  // namespace quillbern
