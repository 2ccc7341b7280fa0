#include "core/model/JsonReader.h"

#include <limits>
#include <vector>

namespace quillbern {

using Kind = DecodingError::Kind;

void JsonReader::expectObject() const {
    expectValue(value_.is_object(), "a dictionary");
}

bool JsonReader::has(std::string_view key) const {
    expectObject();
    return value_.contains(key);
}

JsonReader JsonReader::required(std::string_view key) const {
    expectObject();
    const auto found = value_.find(key);
    if (found == value_.end()) fail(Kind::keyNotFound, "No value associated with key \"" + std::string(key) + "\".");
    return JsonReader(*found, this, key, std::nullopt);
}

std::optional<JsonReader> JsonReader::optional(std::string_view key) const {
    expectObject();
    const auto found = value_.find(key);
    if (found == value_.end() || found->is_null()) return std::nullopt;
    return JsonReader(*found, this, key, std::nullopt);
}

std::size_t JsonReader::otherMembers(std::initializer_list<std::string_view> known) const {
    expectObject();
    return static_cast<std::size_t>(std::ranges::count_if(value_.items(), [&known](const auto& member) {
        return std::ranges::find(known, member.key()) == known.end();
    }));
}

std::size_t JsonReader::arraySize() const {
    expectValue(value_.is_array(), "an array");
    return value_.size();
}

JsonReader JsonReader::element(std::size_t index) const {
    return JsonReader(value_.at(index), this, {}, index);
}

std::string JsonReader::string() const {
    expectValue(value_.is_string(), "a string");
    return value_.get_ref<const std::string&>();
}

bool JsonReader::boolean() const {
    expectValue(value_.is_boolean(), "a Bool");
    return value_.get<bool>();
}

Uuid JsonReader::uuid() const {
    const std::string text = string();
    const auto uuid = Uuid::parse(text);
    if (!uuid) fail(Kind::dataCorrupted, "Attempted to decode UUID from invalid UUID string.");
    return *uuid;
}

std::uint32_t JsonReader::uint32() const {
    expectValue(value_.is_number_integer(), "an unsigned 32-bit number");
    const bool inRange = value_.is_number_unsigned()
                             ? value_.get<std::uint64_t>() <= std::numeric_limits<std::uint32_t>::max()
                             : value_.get<std::int64_t>() >= 0;
    if (!inRange) fail(Kind::dataCorrupted, "Number " + value_.dump() + " does not fit in UInt32.");
    return static_cast<std::uint32_t>(value_.get<std::uint64_t>());
}

void JsonReader::expectValue(bool matches, std::string_view expected) const {
    if (matches) return;
    if (value_.is_null()) fail(Kind::valueNotFound, "Expected " + std::string(expected) + " but found null instead.");
    fail(Kind::typeMismatch,
         "Expected to decode " + std::string(expected) + " but found " + std::string(value_.type_name()) + " instead.");
}

void JsonReader::fail(DecodingError::Kind kind, std::string description) const {
    throw DecodingError(kind, codingPath(), std::move(description));
}

std::string JsonReader::codingPath() const {
    std::vector<const JsonReader*> steps;
    for (const JsonReader* step = this; step->parent_ != nullptr; step = step->parent_)
        steps.push_back(step);
    std::string path;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        if ((*step)->index_) {
            path += "[" + std::to_string(*(*step)->index_) + "]";
        } else {
            if (!path.empty()) path += '.';
            path += (*step)->key_;
        }
    }
    return path;
}

}  // namespace quillbern
