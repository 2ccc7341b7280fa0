#include "core/model/StoredProfiles.h"

#include "core/foundation/JsonText.h"

namespace quillbern {

namespace {

Result<Json, DecodingError> parsed(const Bytes& data) {
    auto json = parseJson(data);
    if (!json) {
        return DecodingError(DecodingError::Kind::dataCorrupted, "",
                             "The given data was not valid JSON (" + json.error().message + ").");
    }
    return std::move(json).value();
}

// Reads every element of an array with `readElement`, strictly.
template <class Element, class ReadElement>
Result<std::vector<Element>, DecodingError> decodeArray(const Bytes& data, ReadElement readElement) {
    const auto json = parsed(data);
    if (!json) return json.error();
    try {
        const JsonReader reader(json.value());
        const std::size_t count = reader.arraySize();
        std::vector<Element> elements;
        elements.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            elements.push_back(readElement(reader.element(i)));
        return elements;
    } catch (const DecodingError& error) {
        return error;
    }
}

}  // namespace

Result<StoredProfiles, DecodingError> StoredProfiles::decode(const Bytes& data) {
    auto read = decodeArray<ReadProfile>(data, ReadProfile::read);
    if (!read) return read.error();
    StoredProfiles stored;
    stored.profiles.reserve(read.value().size());
    for (ReadProfile& profile : read.value()) {
        stored.profiles.push_back(std::move(profile.profile));
        stored.dropped += profile.dropped;
    }
    return stored;
}

Result<Bytes> StoredProfiles::encode(const std::vector<Profile>& profiles) {
    JsonWriter writer;
    writer.beginArray();
    for (const Profile& profile : profiles)
        profile.write(writer);
    writer.endArray();
    if (writer.failed()) return Error{"A name or path is not valid UTF-8.", "StoredProfiles"};
    return Bytes(writer.text().begin(), writer.text().end());
}

Result<std::vector<PinnedApp>, DecodingError> StoredProfiles::decodeLegacyApps(const Bytes& data) {
    return decodeArray<PinnedApp>(data, PinnedApp::read);
}

}  // namespace quillbern
