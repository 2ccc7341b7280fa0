#include <gtest/gtest.h>

#include "core/foundation/Paths.h"

using namespace quillbern;

TEST(Paths, NormalisedPathsLoseTrailingSlashesButTheRootStays) {
    EXPECT_EQ(normalizedPath("/home/u/Documents/"), "/home/u/Documents");
    EXPECT_EQ(normalizedPath("/home/u/Documents//"), "/home/u/Documents");
    EXPECT_EQ(normalizedPath("/"), "/");
    EXPECT_EQ(normalizedPath("//"), "/");
}

TEST(Paths, ChildParentAndLastComponent) {
    EXPECT_EQ(childPath("/a", "b"), "/a/b");
    EXPECT_EQ(childPath("/", "b"), "/b");
    EXPECT_EQ(parentPath("/a/b"), "/a");
    EXPECT_EQ(parentPath("/a/b/"), "/a");
    EXPECT_EQ(parentPath("/a"), "/");
    EXPECT_EQ(lastPathComponent("/a/b.txt"), "b.txt");
    EXPECT_EQ(lastPathComponent("/a/b/"), "b");
    EXPECT_EQ(lastPathComponent("/"), "/");
}
