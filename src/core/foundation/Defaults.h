#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Json.h"
#include "core/foundation/Signal.h"

namespace quillbern {

// Stored settings of one domain: typed values by key, each assignment that changes the
// stored value saved at once; an equal one saves nothing. A data value is kept as {"$data": "<base64>"} so that the
// stored form stays plain JSON. Main thread only.
class Defaults {
public:
    virtual ~Defaults() = default;
    Defaults(const Defaults&) = delete;
    Defaults& operator=(const Defaults&) = delete;

    std::optional<Json> value(std::string_view key) const;
    bool contains(std::string_view key) const;
    std::vector<std::string> keys() const;

    // Typed reads answer nullopt for an absent key and for a value of another type.
    std::optional<bool> boolValue(std::string_view key) const;         // JSON booleans only
    std::optional<std::int64_t> intValue(std::string_view key) const;  // JSON integers only
    std::optional<double> doubleValue(std::string_view key) const;     // any JSON number
    std::optional<std::string> stringValue(std::string_view key) const;
    std::optional<Bytes> dataValue(std::string_view key) const;
    std::optional<Json> arrayValue(std::string_view key) const;
    std::optional<Json> dictionaryValue(std::string_view key) const;

    void set(std::string_view key, Json value);
    void setData(std::string_view key, const Bytes& data);
    void remove(std::string_view key);

    // Tells onChange after a write or removal that changed the key's stored value.
    [[nodiscard]] Subscription observe(std::string_view key, std::function<void()> onChange);

    // Returns once every assignment made so far is stored where the domain keeps it (or
    // a bounded wait for that ended), for a caller about to rely on it: before changing
    // something outside the program that only the stored value can undo, and at the end.
    virtual void flush() {}

    static Json dataJson(const Bytes& data);
    static std::optional<Bytes> bytesFromJson(const Json& value);

protected:
    explicit Defaults(Json initialValues = Json::object());

    // Called after every assignment or removal that changed a value, with the whole domain
    // as it now stands.
    virtual void persist(const Json& values, std::string_view changedKey) = 0;
    // The whole domain as it stands.
    const Json& values() const { return values_; }

private:
    void write(std::string_view key, std::optional<Json> newValue);

    Json values_;
    std::map<std::string, std::unique_ptr<Signal<>>, std::less<>> observers_;
};

}  // namespace quillbern
