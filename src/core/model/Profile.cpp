#include "core/model/Profile.h"

#include "core/model/LossyItemArray.h"

namespace quillbern {

std::vector<PinnedApp> Profile::allApps() const {
    std::vector<PinnedApp> apps;
    for (const PinnedItem& item : items) {
        for (PinnedApp& app : item.flattenedApps())
            apps.push_back(std::move(app));
    }
    return apps;
}

void Profile::write(JsonWriter& writer) const {
    writer.beginObject().key("id").string(id.text()).key("name").string(name).key("items").beginArray();
    for (const PinnedItem& item : items)
        item.write(writer);
    writer.endArray().key("edge").string(caseName(edge)).key("display");
    display.write(writer);
    writer.key("isVisible").boolean(isVisible).key("isEnabled").boolean(isEnabled);
    writer.key("showsWindows").boolean(showsWindows).key("revealMode").string(caseName(revealMode));
    writer.key("alignment").string(caseName(alignment));
    if (chord) chord->write(writer.key("chord"));
    writer.endObject();
}

ReadProfile ReadProfile::read(const JsonReader& reader) {
    ReadProfile result;
    Profile& profile = result.profile;
    profile.id = reader.required("id").uuid();
    profile.name = reader.required("name").string();
    // A newer version's fields, which the next save would leave out.
    result.dropped += reader.otherMembers({"id", "name", "items", "pins", "edge", "display", "isVisible", "isEnabled",
                                           "showsWindows", "revealMode", "alignment", "chord"});

    if (const auto items = reader.optional("items")) {
        LossyItemArray list = LossyItemArray::read(*items);
        profile.items = std::move(list.elements);
        result.dropped += list.skipped;
        if (reader.optional("pins")) ++result.dropped;  // the older list is read only without "items"
    } else if (const auto pins = reader.optional("pins")) {
        const std::size_t count = pins->arraySize();
        for (std::size_t i = 0; i < count; ++i)
            profile.items.emplace_back(PinnedApp::read(pins->element(i)));
    }

    if (const auto edge = reader.optional("edge")) {
        const auto named = caseNamed<DockEdge>(edge->string());
        if (!named) edge->fail(DecodingError::Kind::dataCorrupted, "Cannot initialize DockEdge from invalid value.");
        profile.edge = *named;
    }
    if (const auto display = reader.optional("display")) profile.display = DisplayAssignment::read(*display);

    if (const auto visible = reader.optional("isVisible")) profile.isVisible = visible->boolean();
    const auto enabled = reader.optional("isEnabled");
    profile.isEnabled = enabled ? enabled->boolean() : profile.isVisible;
    if (const auto shows = reader.optional("showsWindows")) profile.showsWindows = shows->boolean();

    // A text naming no case keeps the default; only a value that is not text fails.
    if (const auto mode = reader.optional("revealMode")) {
        if (const auto named = caseNamed<RevealMode>(mode->string())) {
            profile.revealMode = *named;
        } else {
            ++result.dropped;
        }
    }
    if (const auto alignment = reader.optional("alignment")) {
        if (const auto named = caseNamed<DockAlignment>(alignment->string())) {
            profile.alignment = *named;
        } else {
            ++result.dropped;
        }
    }

    if (const auto chord = reader.optional("chord")) {
        try {
            profile.chord = HotKeyChord::read(*chord);
        } catch (const DecodingError&) {
            ++result.dropped;
        }
    }
    return result;
}

}  // namespace quillbern
