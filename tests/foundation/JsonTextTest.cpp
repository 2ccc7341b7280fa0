#include <gtest/gtest.h>
#include <string>

#include "core/foundation/JsonText.h"

using namespace quillbern;

namespace {

std::string nestedArrays(std::size_t depth) {
    return std::string(depth, '[') + std::string(depth, ']');
}

}  // namespace

TEST(JsonText, NestingIsRefusedPastTheBoundAtAnyDepth) {
    const auto deepest = parseJson(nestedArrays(kMaxJsonDepth));
    ASSERT_TRUE(deepest);
    EXPECT_EQ(nestingDepth(deepest.value()), kMaxJsonDepth);

    for (const std::size_t depth : {kMaxJsonDepth + 1, std::size_t{100'000}, std::size_t{1'000'000}}) {
        const auto refused = parseJson(R"({"kept": 1, "unknown": )" + nestedArrays(depth) + "}");
        ASSERT_FALSE(refused) << depth;
        EXPECT_EQ(refused.error().message, "nested deeper than 256 levels");
    }
    std::string objects;
    for (int level = 0; level < 300; ++level)
        objects += R"({"a":)";
    const auto refused = parseJson(objects + "1" + std::string(300, '}'));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, "nested deeper than 256 levels");
}

TEST(JsonText, ReadsWhatTheLibraryReads) {
    const std::string text = R"({"a": [1, -2, 3.5, true, null, "é"], "b": {"c": {}}, "a2": 18446744073709551615})";
    const auto parsed = parseJson(text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed.value(), Json::parse(text));
    EXPECT_TRUE(parsed.value()["a2"].is_number_unsigned());
    EXPECT_EQ(parseJson(R"({"k": 1, "k": 2})").value(), Json({{"k", 2}})) << "a repeated key keeps its last value";
    EXPECT_EQ(parseJson(Bytes{'[', '7', ']'}).value(), Json::array({7}));
}

TEST(JsonText, SaysWhereTheTextStopsBeingJson) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "not JSON at line 1 column 1"},
        {"x", "not JSON at line 1 column 1"},
        {"{\n  \"a\": 1,\n  \"b\": tru\n}", "not JSON at line 3 column 11"},
        {"{\"a\": 1", "not JSON at line 1 column 8"},
        {"{\"a\": 1}\n\n ]", "not JSON at line 3 column 2"},
        {"\"\xff\"", "not JSON at line 1 column 2"},
    };
    for (const auto& [text, reason] : cases) {
        const auto parsed = parseJson(text);
        ASSERT_FALSE(parsed) << text;
        EXPECT_EQ(parsed.error().message, reason) << text;
    }
}

TEST(JsonText, DepthIsCountedWithoutRecursion) {
    EXPECT_EQ(nestingDepth(Json(3)), 0u);
    EXPECT_EQ(nestingDepth(Json::object()), 1u);
    EXPECT_EQ(nestingDepth(Json{{"a", {1, {2, {{"b", Json::array()}}}}}, {"c", 1}}), 5u);

    Json deep = Json::array();
    for (int level = 1; level < 200'000; ++level)
        deep = Json::array({std::move(deep)});
    EXPECT_EQ(nestingDepth(deep), 200'000u);
}
