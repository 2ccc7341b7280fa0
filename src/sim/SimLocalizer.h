#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "core/foundation/Localization.h"

namespace quillbern {

// A catalogue in memory, installed as the process's while it lives, in a language whose
// plural rule is English's (one, many); what it lacks stays English.
class SimLocalizer final : public Localizer {
public:
    SimLocalizer() : previous_(setLocalizer(this)) {}
    ~SimLocalizer() override { setLocalizer(previous_); }
    SimLocalizer(const SimLocalizer&) = delete;
    SimLocalizer& operator=(const SimLocalizer&) = delete;

    void add(std::string english, std::string translated) { texts_[{"", std::move(english)}] = std::move(translated); }
    void addInContext(std::string context, std::string english, std::string translated) {
        texts_[{std::move(context), std::move(english)}] = std::move(translated);
    }
    void addPlural(std::string singular, std::string one, std::string many) {
        plurals_[std::move(singular)] = {std::move(one), std::move(many)};
    }

    std::string translate(std::string_view english) const override { return translateInContext("", english); }
    std::string translatePlural(std::string_view singular, std::string_view plural,
                                unsigned long long count) const override {
        const auto found = plurals_.find(std::string(singular));
        if (found == plurals_.end()) return std::string(count == 1 ? singular : plural);
        return count == 1 ? found->second.first : found->second.second;
    }
    std::string translateInContext(std::string_view context, std::string_view english) const override {
        const auto found = texts_.find({std::string(context), std::string(english)});
        return found == texts_.end() ? std::string(english) : found->second;
    }

private:
    std::map<std::pair<std::string, std::string>, std::string> texts_;
    std::map<std::string, std::pair<std::string, std::string>> plurals_;
    Localizer* previous_;
};

}  // namespace quillbern
