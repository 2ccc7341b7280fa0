#pragma once

#include <map>
#include <string>

#include "core/foundation/Defaults.h"

namespace quillbern {

// Defaults in memory. Tests preload any value, wrong types and corrupt data included,
// and count the writes of each key.
class SimDefaults final : public Defaults {
public:
    explicit SimDefaults(Json initialValues = Json::object()) : Defaults(std::move(initialValues)) {}

    int writeCount(const std::string& key) const;
    int totalWrites() const { return totalWrites_; }
    void resetWriteCounts();

private:
    void persist(const Json& values, std::string_view changedKey) override;

    std::map<std::string, int, std::less<>> writes_;
    int totalWrites_ = 0;
};

}  // namespace quillbern
