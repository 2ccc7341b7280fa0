#include <gtest/gtest.h>

#include "core/foundation/FilledByName.h"

namespace quillbern {
namespace {

struct Lists {
    [[no_unique_address]] FilledByName<Lists> byName{};
    const int& worker;
    const int& main;
};

template <class... Parts>
constexpr bool fillsByPosition = requires(const Parts&... parts) {
    Lists{{}, parts...};
};
template <class... Parts>
constexpr bool fillsWithoutTheMarker = requires(const Parts&... parts) {
    Lists{parts...};
};

TEST(FilledByName, OnlyDesignatedInitializersFillTheStructAndTheMarkerTakesNoRoom) {
    static_assert(!fillsByPosition<int, int>);
    static_assert(!fillsWithoutTheMarker<int, int>);
    static_assert(sizeof(Lists) == 2 * sizeof(const int*));
    const int worker = 1;
    const int main = 2;
    const Lists lists{.worker = worker, .main = main};
    EXPECT_EQ(&lists.worker, &worker);
    EXPECT_EQ(&lists.main, &main);
}

}  // namespace
}  // namespace quillbern
