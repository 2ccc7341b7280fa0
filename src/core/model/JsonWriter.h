#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillbern {

// Writes compact JSON straight into text, members in the order they are written. The
// caller keeps the structure balanced; a key must come before each value of an object.
// Keys are written as given: they are our own plain ASCII names.
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& string(std::string_view text);
    JsonWriter& boolean(bool value);
    JsonWriter& number(std::uint32_t value);

    // Set once a text was not valid UTF-8: JSON cannot hold it, so the result is unusable.
    bool failed() const { return failed_; }
    const std::string& text() const { return text_; }

private:
    void separate();
    void appendQuoted(std::string_view text);
    void appendEscaped(std::string_view text);

    std::string text_;
    bool needsComma_ = false;
    bool failed_ = false;
};

}  // namespace quillbern
