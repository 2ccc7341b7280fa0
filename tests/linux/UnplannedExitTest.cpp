#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

#include "linux/process/UnplannedExit.h"

namespace quillbern {
namespace {

// An exit() while UnplannedExits live runs the steps of those that still live, the one made
// last first, with its status, and ends the process before the destructor of any static
// object runs: of one made after them too, as Qt makes its image readers' globals.
TEST(UnplannedExit, RunsTheLivingStepsThenEndsBeforeAnyGlobalGoes) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const UnplannedExit outer([](int status) { std::fprintf(stderr, "outer %d\n", status); });
            {
                const UnplannedExit gone([](int status) { std::fprintf(stderr, "gone %d, ", status); });
            }
            const UnplannedExit inner([](int status) { std::fprintf(stderr, "inner %d, ", status); });
            static const struct Late {
                ~Late() {
                    std::fputs("a global went\n", stderr);
                    std::abort();
                }
            } late;
            std::exit(3);
        },
        testing::ExitedWithCode(3), "inner 3, outer 3\n$");
}

}  // namespace
}  // namespace quillbern
