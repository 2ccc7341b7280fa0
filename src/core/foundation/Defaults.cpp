#include "core/foundation/Defaults.h"

#include "core/foundation/Base64.h"

namespace quillbern {

namespace {
constexpr const char* kDataMember = "$data";

// JSON equality calls 1 and 1.0 equal, but their typed reads differ.
bool sameStoredValue(const Json& a, const Json& b) {
    return a.is_number_float() == b.is_number_float() && a == b;
}
}  // namespace

Defaults::Defaults(Json initialValues) : values_(std::move(initialValues)) {
    if (!values_.is_object()) values_ = Json::object();
}

std::optional<Json> Defaults::value(std::string_view key) const {
    const auto found = values_.find(std::string(key));
    if (found == values_.end()) return std::nullopt;
    return *found;
}

bool Defaults::contains(std::string_view key) const {
    return values_.contains(std::string(key));
}

std::vector<std::string> Defaults::keys() const {
    std::vector<std::string> out;
    out.reserve(values_.size());
    for (const auto& [key, value] : values_.items())
        out.push_back(key);
    return out;
}

std::optional<bool> Defaults::boolValue(std::string_view key) const {
    auto v = value(key);
    if (!v || !v->is_boolean()) return std::nullopt;
    return v->get<bool>();
}

std::optional<std::int64_t> Defaults::intValue(std::string_view key) const {
    auto v = value(key);
    if (!v || !v->is_number_integer()) return std::nullopt;
    if (v->is_number_unsigned() && v->get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX)) {
        return std::nullopt;
    }
    return v->get<std::int64_t>();
}

std::optional<double> Defaults::doubleValue(std::string_view key) const {
    auto v = value(key);
    if (!v || !v->is_number()) return std::nullopt;
    return v->get<double>();
}

std::optional<std::string> Defaults::stringValue(std::string_view key) const {
    auto v = value(key);
    if (!v || !v->is_string()) return std::nullopt;
    return v->get<std::string>();
}

std::optional<Bytes> Defaults::dataValue(std::string_view key) const {
    auto v = value(key);
    if (!v) return std::nullopt;
    return bytesFromJson(*v);
}

std::optional<Json> Defaults::arrayValue(std::string_view key) const {
    auto v = value(key);
    if (!v || !v->is_array()) return std::nullopt;
    return v;
}

std::optional<Json> Defaults::dictionaryValue(std::string_view key) const {
    auto v = value(key);
    if (!v || !v->is_object() || bytesFromJson(*v)) return std::nullopt;
    return v;
}

void Defaults::set(std::string_view key, Json newValue) {
    write(key, std::move(newValue));
}

void Defaults::setData(std::string_view key, const Bytes& data) {
    write(key, dataJson(data));
}

void Defaults::remove(std::string_view key) {
    write(key, std::nullopt);
}

void Defaults::write(std::string_view key, std::optional<Json> newValue) {
    const std::string name(key);
    const auto found = values_.find(name);
    const bool changed =
        newValue ? (found == values_.end() || !sameStoredValue(*found, *newValue)) : found != values_.end();
    // Saving an equal value would only rewrite the file, and undo a hand edit made meanwhile.
    if (!changed) return;
    if (newValue) {
        values_[name] = std::move(*newValue);
    } else {
        values_.erase(name);
    }
    persist(values_, key);
    if (const auto observer = observers_.find(key); observer != observers_.end()) observer->second->emit();
}

Subscription Defaults::observe(std::string_view key, std::function<void()> onChange) {
    auto found = observers_.find(key);
    if (found == observers_.end()) found = observers_.emplace(std::string(key), std::make_unique<Signal<>>()).first;
    return found->second->connect(std::move(onChange));
}

Json Defaults::dataJson(const Bytes& data) {
    return Json{{kDataMember, base64Encode(data)}};
}

std::optional<Bytes> Defaults::bytesFromJson(const Json& value) {
    if (!value.is_object() || value.size() != 1) return std::nullopt;
    const auto member = value.find(kDataMember);
    if (member == value.end() || !member->is_string()) return std::nullopt;
    return base64Decode(member->get_ref<const std::string&>());
}

}  // namespace quillbern
