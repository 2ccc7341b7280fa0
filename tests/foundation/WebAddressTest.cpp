#include <gtest/gtest.h>

#include "core/foundation/WebAddress.h"

namespace quillbern {
namespace {

TEST(WebAddress, AcceptsOnlyWhatReadsAsAnAddress) {
    for (const char* text : {"https://quillbern.example", "HTTPS://Quillbern.example:8443/support?x=1#top",
                             "mailto:help@quillbern.example", "mailto:help@quillbern.example?subject=Hi",
                             "https://user@[::1]/a%20b", "trash:///"}) {
        EXPECT_TRUE(WebAddress::parse(text)) << text;
    }
    for (const char* text : {"", "quillbern.example", "https://", "https:///support", "https://a b.example",
                             "https://quillbern.example/é", "https://quillbern.example/%zz", "1https://x.example",
                             "mailto:", "mailto:help", "mailto:@quillbern.example", "mailto:help@", "about:"}) {
        EXPECT_FALSE(WebAddress::parse(text)) << text;
    }
    EXPECT_EQ(WebAddress::parse("HTTPS://User@Quillbern.Example:8443/x")->host(), "quillbern.example");
    EXPECT_EQ(WebAddress::parse("HTTPS://quillbern.example")->scheme(), "https");
}

TEST(WebAddress, QueryValuesReachTheServerAsWritten) {
    EXPECT_EQ(percentEncodedQueryValue("2.1 (57)"), "2.1%20(57)");
    EXPECT_EQ(percentEncodedQueryValue("a+b&c=d#e%f"), "a%2Bb%26c%3Dd%23e%25f");
    EXPECT_EQ(percentEncodedQueryValue("~_-.!$'*,;:@/?"), "~_-.!$'*,;:@/?");
    EXPECT_EQ(percentEncodedQueryValue("ü\n"), "%C3%BC%0A");
}

}  // namespace
}  // namespace quillbern
