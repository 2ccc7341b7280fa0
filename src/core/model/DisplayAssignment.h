#pragma once

#include <string>

#include "core/model/JsonReader.h"
#include "core/model/JsonWriter.h"

namespace quillbern {

// Every display, or one display named by its stable identifier. The name is the
// display's name when it was chosen, shown while that display is not connected.
class DisplayAssignment {
public:
    DisplayAssignment() = default;  // every display
    static DisplayAssignment all() { return {}; }
    static DisplayAssignment display(std::string stableID, std::string name);

    bool isAll() const { return isAll_; }
    const std::string& stableID() const { return stableID_; }
    const std::string& name() const { return name_; }

    // Same case and, for one display, the same identifier and name.
    bool operator==(const DisplayAssignment&) const = default;
    // The same place for docks: names are not compared.
    bool sameSlot(const DisplayAssignment& other) const;

    void write(JsonWriter& writer) const;
    static DisplayAssignment read(const JsonReader& reader);

private:
    bool isAll_ = true;
    std::string stableID_;
    std::string name_;
};

}  // namespace quillbern
