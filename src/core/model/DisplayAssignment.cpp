#include "core/model/DisplayAssignment.h"

namespace quillbern {

namespace {
constexpr const char* kAll = "all";
constexpr const char* kDisplay = "display";
}  // namespace

DisplayAssignment DisplayAssignment::display(std::string stableID, std::string name) {
    DisplayAssignment assignment;
    assignment.isAll_ = false;
    assignment.stableID_ = std::move(stableID);
    assignment.name_ = std::move(name);
    return assignment;
}

bool DisplayAssignment::sameSlot(const DisplayAssignment& other) const {
    return isAll_ == other.isAll_ && stableID_ == other.stableID_;
}

void DisplayAssignment::write(JsonWriter& writer) const {
    writer.beginObject();
    if (isAll_) {
        writer.key(kAll).beginObject().endObject();
    } else {
        writer.key(kDisplay).beginObject().key("stableID").string(stableID_).key("name").string(name_).endObject();
    }
    writer.endObject();
}

DisplayAssignment DisplayAssignment::read(const JsonReader& reader) {
    const bool hasAll = reader.has(kAll);
    if (hasAll == reader.has(kDisplay)) {
        reader.fail(DecodingError::Kind::typeMismatch, "Invalid number of keys found, expected one.");
    }
    if (hasAll) {
        reader.required(kAll).expectObject();
        return all();
    }
    const JsonReader payload = reader.required(kDisplay);
    return display(payload.required("stableID").string(), payload.required("name").string());
}

}  // namespace quillbern
