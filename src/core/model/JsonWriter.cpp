#include "core/model/JsonWriter.h"

#include <algorithm>
#include <array>

#include "core/foundation/Utf8.h"

namespace quillbern {

namespace {

// Bytes that a plain copy would get wrong: control characters, quote and backslash need
// escapes, and anything beyond ASCII must be checked as UTF-8.
constexpr std::array<bool, 256> kNeedsCare = [] {
    std::array<bool, 256> table{};
    for (std::size_t byte = 0; byte < table.size(); ++byte) {
        table[byte] = byte < 0x20 || byte >= 0x80 || byte == '"' || byte == '\\';
    }
    return table;
}();

}  // namespace

JsonWriter& JsonWriter::beginObject() {
    separate();
    text_ += '{';
    needsComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    text_ += '}';
    needsComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separate();
    text_ += '[';
    needsComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    text_ += ']';
    needsComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    separate();
    text_ += '"';
    text_ += name;
    text_ += "\":";
    needsComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::string(std::string_view value) {
    separate();
    appendQuoted(value);
    needsComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::boolean(bool value) {
    separate();
    text_ += value ? "true" : "false";
    needsComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::number(std::uint32_t value) {
    separate();
    text_ += std::to_string(value);
    needsComma_ = true;
    return *this;
}

void JsonWriter::separate() {
    if (needsComma_) text_ += ',';
}

void JsonWriter::appendQuoted(std::string_view value) {
    text_ += '"';
    // Most names and paths are plain ASCII, copied as they are.
    const bool plain = std::ranges::none_of(value, [](char c) { return kNeedsCare[static_cast<unsigned char>(c)]; });
    if (plain) {
        text_ += value;
    } else {
        appendEscaped(value);
    }
    text_ += '"';
}

void JsonWriter::appendEscaped(std::string_view value) {
    static constexpr char kHex[] = "0123456789abcdef";
    if (!isValidUtf8(value)) failed_ = true;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                text_ += "\\\"";
                break;
            case '\\':
                text_ += "\\\\";
                break;
            case '\b':
                text_ += "\\b";
                break;
            case '\f':
                text_ += "\\f";
                break;
            case '\n':
                text_ += "\\n";
                break;
            case '\r':
                text_ += "\\r";
                break;
            case '\t':
                text_ += "\\t";
                break;
            default:
                if (byte >= 0x20) {
                    text_ += c;
                } else {
                    text_ += "\\u00";
                    text_ += kHex[byte >> 4];
                    text_ += kHex[byte & 0xf];
                }
        }
    }
}

}  // namespace quillbern
