#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "core/foundation/Json.h"
#include "core/foundation/Result.h"
#include "core/foundation/Uuid.h"
#include "core/model/DecodingError.h"

namespace quillbern {

// A position inside a JSON value being decoded. Every failed expectation throws a
// DecodingError carrying the path to this position. A reader refers to its parent, so it
// must not outlive the reader it came from; keys must outlive the reader too.
class JsonReader {
public:
    explicit JsonReader(const Json& value) : value_(value) {}

    const Json& json() const { return value_; }
    bool isNull() const { return value_.is_null(); }

    // Objects. A present member holding null counts as present for has() and required().
    void expectObject() const;
    bool has(std::string_view key) const;
    JsonReader required(std::string_view key) const;
    // Absent and null alike give nothing.
    std::optional<JsonReader> optional(std::string_view key) const;
    // How many members have none of the `known` keys.
    std::size_t otherMembers(std::initializer_list<std::string_view> known) const;

    // Arrays.
    std::size_t arraySize() const;
    JsonReader element(std::size_t index) const;

    std::string string() const;
    bool boolean() const;
    Uuid uuid() const;
    std::uint32_t uint32() const;

    [[noreturn]] void fail(DecodingError::Kind kind, std::string description) const;
    std::string codingPath() const;

private:
    JsonReader(const Json& value, const JsonReader* parent, std::string_view key, std::optional<std::size_t> index)
        : value_(value), parent_(parent), key_(key), index_(index) {}

    void expectValue(bool matches, std::string_view expected) const;

    const Json& value_;
    const JsonReader* parent_ = nullptr;
    std::string_view key_;
    std::optional<std::size_t> index_;
};

// Reads a whole value with T::read(const JsonReader&), turning a failure into the error.
template <class T>
Result<T, DecodingError> decodeJson(const Json& json) {
    try {
        return T::read(JsonReader(json));
    } catch (const DecodingError& error) {
        return error;
    }
}

}  // namespace quillbern
