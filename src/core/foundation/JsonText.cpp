#include "core/foundation/JsonText.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace quillbern {

namespace {

// Builds the value as nlohmann's own reader would (a repeated key keeps its last value),
// but stops at the first container past the depth bound.
class BoundedBuilder final : public nlohmann::json_sax<Json> {
public:
    explicit BoundedBuilder(Json& root) : root_(root) {}

    bool tooDeep() const { return tooDeep_; }
    std::optional<std::size_t> errorPosition() const { return errorPosition_; }

    bool null() override { return put(nullptr); }
    bool boolean(bool value) override { return put(value); }
    bool number_integer(number_integer_t value) override { return put(value); }
    bool number_unsigned(number_unsigned_t value) override { return put(value); }
    bool number_float(number_float_t value, const string_t&) override { return put(value); }
    bool string(string_t& value) override { return put(std::move(value)); }
    bool binary(binary_t& value) override { return put(Json::binary(std::move(value))); }
    bool start_object(std::size_t) override { return open(Json::object()); }
    bool key(string_t& name) override {
        key_ = std::move(name);
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(Json::array()); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception&) override {
        errorPosition_ = position;
        return false;
    }

private:
    // Pointers into the open containers stay valid: only the innermost one grows.
    Json& add(Json value) {
        if (open_.empty()) return root_ = std::move(value);
        Json& container = *open_.back();
        if (container.is_array()) {
            container.push_back(std::move(value));
            return container.back();
        }
        return container[key_] = std::move(value);
    }

    bool put(Json value) {
        add(std::move(value));
        return true;
    }

    bool open(Json container) {
        if (open_.size() >= kMaxJsonDepth) {
            tooDeep_ = true;
            return false;
        }
        open_.push_back(&add(std::move(container)));
        return true;
    }

    bool close() {
        open_.pop_back();
        return true;
    }

    Json& root_;
    std::vector<Json*> open_;
    std::string key_;
    bool tooDeep_ = false;
    std::optional<std::size_t> errorPosition_;
};

// The reader reports the count of characters read up to and including the offending one.
std::string whereInText(std::string_view text, std::size_t position) {
    const std::size_t offending = std::min(position > 0 ? position - 1 : 0, text.size());
    const std::string_view before = text.substr(0, offending);
    const auto line = 1 + std::ranges::count(before, '\n');
    const std::size_t lineStart = before.rfind('\n') == std::string_view::npos ? 0 : before.rfind('\n') + 1;
    return "line " + std::to_string(line) + " column " + std::to_string(offending - lineStart + 1);
}

}  // namespace

Result<Json> parseJson(std::string_view text) {
    Json value;
    BoundedBuilder builder(value);
    if (Json::sax_parse(text, &builder)) return value;
    if (builder.tooDeep()) {
        return Error{"nested deeper than " + std::to_string(kMaxJsonDepth) + " levels", "json"};
    }
    return Error{"not JSON at " + whereInText(text, builder.errorPosition().value_or(text.size())), "json"};
}

Result<Json> parseJson(const Bytes& data) {
    return parseJson(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}

std::size_t nestingDepth(const Json& value) {
    std::size_t deepest = 0;
    std::vector<std::pair<const Json*, std::size_t>> pending{{&value, 0}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        if (!node->is_structured()) continue;
        deepest = std::max(deepest, depth + 1);
        for (const Json& inner : *node)
            pending.emplace_back(&inner, depth + 1);
    }
    return deepest;
}

}  // namespace quillbern
