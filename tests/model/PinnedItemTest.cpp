#include <gtest/gtest.h>

#include "DockModelSupport.h"
#include "core/model/LossyItemArray.h"
#include "core/model/PinnedItem.h"

using namespace quillbern;

namespace {

Result<PinnedItem, DecodingError> readItem(std::string_view json) {
    return decodeJson<PinnedItem>(Json::parse(json));
}

}  // namespace

TEST(PinnedItem, WritesOneCaseKeyWithItsPayloadUnder_0AndReadsItBack) {
    const PinnedApp files{"org.gnome.Nautilus", "Files", "/usr/share/applications/org.gnome.Nautilus.desktop"};
    EXPECT_EQ(written(PinnedItem(files)), R"({"app":{"_0":{"bundleID":"org.gnome.Nautilus","name":"Files",)"
                                          R"("fallbackPath":"/usr/share/applications/org.gnome.Nautilus.desktop"}}})");

    const PinnedItem location = PinnedLocation{seededUuid(1), "Projects", "/home/ada/Projects"};
    EXPECT_EQ(written(location),
              R"({"location":{"_0":{"id":")" + seededId(1) + R"(","name":"Projects","path":"/home/ada/Projects"}}})");

    const PinnedItem folder = PinnedFolder{
        seededUuid(2), "Old group", {PinnedApp{"a", "A", std::nullopt}, PinnedTrash{seededUuid(3)}, location}};
    for (const PinnedItem& item : {PinnedItem(files), location, folder, PinnedItem(PinnedTrash{seededUuid(4)})}) {
        const auto read = decodeJson<PinnedItem>(Json::parse(written(item)));
        ASSERT_TRUE(read.ok()) << item.id();
        EXPECT_EQ(read.value(), item);
    }
}

TEST(PinnedItem, AbsentOrNullFallbackPathReadsAsNoneAndIsNotWritten) {
    for (const char* json : {R"({"app":{"_0":{"bundleID":"x","name":"X"}}})",
                             R"({"app":{"_0":{"bundleID":"x","name":"X","fallbackPath":null}}})"}) {
        const auto item = readItem(json);
        ASSERT_TRUE(item.ok()) << json;
        EXPECT_FALSE(item.value().app()->fallbackPath.has_value());
        EXPECT_EQ(written(item.value()), R"({"app":{"_0":{"bundleID":"x","name":"X"}}})");
    }
}

TEST(PinnedItem, FirstPresentCaseKeyDecidesWhateverItsValue) {
    const std::string trash = R"({"_0":{"id":")" + seededId(1) + R"("}})";
    const auto app = readItem(R"({"trash":)" + trash + R"(,"app":{"_0":{"bundleID":"x","name":"X"}}})");
    ASSERT_TRUE(app.ok());
    EXPECT_NE(app.value().app(), nullptr);

    const std::string folderPayload = R"({"_0":{"id":")" + seededId(2) + R"(","name":"F","items":[]}})";
    const auto folder = readItem(R"({"location":{"_0":{}},"folder":)" + folderPayload + "}");
    ASSERT_TRUE(folder.ok());
    EXPECT_NE(folder.value().folder(), nullptr);

    EXPECT_FALSE(readItem(R"({"app":null,"trash":)" + trash + "}").ok());
}

TEST(PinnedItem, UnreadableShapesFailWithWhereAndWhy) {
    const auto unknown = readItem(R"({"dock":{"_0":{}}})");
    ASSERT_FALSE(unknown.ok());
    EXPECT_EQ(unknown.error().description(), "Unknown PinnedItem case");
    EXPECT_EQ(unknown.error().kind(), DecodingError::Kind::dataCorrupted);

    EXPECT_FALSE(readItem(R"({"app":{"bundleID":"x","name":"X"}})").ok());  // no "_0"
    EXPECT_FALSE(readItem(R"({"trash":{"_0":{"id":"not-a-uuid"}}})").ok());
    EXPECT_FALSE(readItem(R"(["app"])").ok());

    // Nested lists are strict: one bad element fails the folder, and the path says where.
    const auto folder =
        readItem(R"({"folder":{"_0":{"id":")" + seededId(1) + R"(","name":"F","items":[{"trash":{"_0":{"id":")" +
                 seededId(2) + R"("}}},{"dock":{}}]}}})");
    ASSERT_FALSE(folder.ok());
    EXPECT_EQ(folder.error().codingPath(), "folder._0.items[1]");
}

TEST(PinnedItem, IdentifiersKeepTheBundleIdentifierAndUseUpperCaseUuids) {
    const auto location = readItem(R"({"location":{"_0":{"id":")" + seededId(10) + R"(","name":"L","path":"/p"}}})");
    ASSERT_TRUE(location.ok());
    EXPECT_EQ(location.value().id(), "location:AAAAAAAA-0000-4000-8000-00000000000A");
    const auto lowerCase = readItem(R"({"trash":{"_0":{"id":"aaaaaaaa-0000-4000-8000-00000000000a"}}})");
    ASSERT_TRUE(lowerCase.ok());
    EXPECT_EQ(lowerCase.value().id(), "trash:AAAAAAAA-0000-4000-8000-00000000000A");
    EXPECT_EQ(PinnedItem(PinnedApp{"Org.Example.Tool", "Tool", std::nullopt}).id(), "app:Org.Example.Tool");

    const PinnedItem named = PinnedApp{"x", "One", std::nullopt};
    const PinnedItem renamed = PinnedApp{"x", "Two", std::nullopt};
    EXPECT_NE(named, renamed);
    EXPECT_EQ(named.id(), renamed.id());
    EXPECT_NE(PinnedItem(PinnedApp{"x", "One", "/p"}), named);
}

TEST(LossyItemArray, SkipsUnreadableElementsAndKeepsTheOthersInOrder) {
    const Json list = Json::parse(R"([
        {"app":{"_0":{"bundleID":"a","name":"A"}}},
        {"dock":{"_0":{}}},
        {"app":{"bundleID":"unwrapped","name":"U"}},
        {"folder":{"_0":{"id":")" +
                                  seededId(1) + R"(","name":"F","items":[{"app":{"_0":{"name":"no id"}}}]}}},
        {"trash":{"_0":{"id":")" + seededId(2) +
                                  R"("}}},
        42
    ])");
    const auto read = decodeJson<LossyItemArray>(list);
    ASSERT_TRUE(read.ok());
    ASSERT_EQ(read.value().elements.size(), 2u);
    EXPECT_EQ(read.value().elements[0].id(), "app:a");
    EXPECT_EQ(read.value().elements[1].id(), "trash:" + seededId(2));
    EXPECT_EQ(read.value().skipped, 4u);

    EXPECT_TRUE(decodeJson<LossyItemArray>(Json::array()).value().elements.empty());
    EXPECT_FALSE(decodeJson<LossyItemArray>(Json::object()).ok());
}

TEST(PinnedItem, FoldersNestedPastTheBoundAreUnreadableAtAnyDepth) {
    // Built from the inside out, so no step of building or freeing recurses.
    const auto nestedFolders = [](std::size_t depth) {
        Json item = appJson("inner");
        for (std::size_t level = 0; level < depth; ++level) {
            Json items = Json::array();
            items.push_back(std::move(item));
            Json payload = {{"id", seededId(1)}, {"name", "Group"}};
            payload["items"] = std::move(items);
            item = Json::object();
            item["folder"]["_0"] = std::move(payload);
        }
        return item;
    };
    const auto deepest = decodeJson<PinnedItem>(nestedFolders(kMaxFolderDepth));
    ASSERT_TRUE(deepest.ok());
    EXPECT_EQ(deepest.value().flattenedApps().size(), 1u);

    for (const std::size_t depth : {kMaxFolderDepth + 1, std::size_t{15'500}}) {
        const auto refused = decodeJson<PinnedItem>(nestedFolders(depth));
        ASSERT_FALSE(refused.ok()) << depth;
        EXPECT_EQ(refused.error().description(), "Folders are nested too deep.");
        EXPECT_TRUE(refused.error().codingPath().starts_with("folder._0.items[0].folder._0.items[0]"));
    }
}
