// The served record's own parts: the query it takes and the policy that
// lets exactly its inline styles apply.
#include "server/ContentHash.h"
#include "server/RecordRequest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string hex(const std::array<std::uint8_t, 32>& digest)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t b : digest) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

} // namespace

TEST(contentHash, KnownDigestsAcrossTheBlockBoundaries)
{
    EXPECT_EQ(hex(sha256("")), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(hex(sha256("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // 56 bytes: the length no longer fits the first padding block.
    EXPECT_EQ(hex(sha256("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(hex(sha256(std::string(1000000, 'a'))),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    EXPECT_EQ(sha256Base64(""), "47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU=");
}

TEST(recordRequest, QueryIsDecodedAndCheckedWhole)
{
    std::string problem;
    auto given = parseRecordQuery("/api/converters/a/record?tag=TT-101&location=Kotelna+%C4%8C.+2"
                                  "&technician=&note=a%0D%0Ab%26c",
                                  problem);
    ASSERT_TRUE(given) << problem;
    EXPECT_EQ(given->tag, "TT-101");
    EXPECT_EQ(given->location, "Kotelna Č. 2");
    EXPECT_EQ(given->technician, "");
    EXPECT_EQ(given->note, "a\nb&c");
    EXPECT_TRUE(parseRecordQuery("/api/converters/a/record", problem));
    EXPECT_TRUE(parseRecordQuery("/api/converters/a/record?&tag=x&", problem));

    const std::pair<std::string, std::string> refused[] = {
        {"?colour=red", "\"colour\" is none of them"},
        {"?tag=a&tag=b", "tag is given twice"},
        {"?tag=%4", "tag holds a % that is not followed"},
        {"?tag=%G1", "tag holds a %"},
        {"?location=a%0Ab", "location is one line"},
        {"?technician=%FF", "technician is no UTF-8"},
        {"?tag=%01", "tag holds a control character"},
        {"?tag=" + std::string(41, 'x'), "tag has 41 characters"},
        {"?note=1%0A2%0A3%0A4%0A5%0A6", "note has 6 lines"},
    };
    for (const auto& [query, words] : refused) {
        problem.clear();
        EXPECT_FALSE(parseRecordQuery("/api/converters/a/record" + query, problem)) << query;
        EXPECT_NE(problem.find(words), std::string::npos) << query << ": " << problem;
    }
}

TEST(recordRequest, PolicyAllowsThePagesOwnStylesOnly)
{
    const std::string html = "<html><head><style>h1{color:red}</style></head><body>"
                             "<svg><style>.a{fill:none}</style></svg></body></html>";
    const std::string policy = recordPagePolicy(html);
    EXPECT_EQ(policy.rfind("default-src 'none'; style-src 'sha256-" + sha256Base64("h1{color:red}") +
                               "' 'sha256-" + sha256Base64(".a{fill:none}") + "';",
                           0),
              0u)
        << policy;
    EXPECT_EQ(policy.find("unsafe"), std::string::npos);
    EXPECT_NE(policy.find("frame-ancestors 'none'"), std::string::npos);
    EXPECT_NE(recordPagePolicy("<p>no style</p>").find("style-src 'none'"), std::string::npos);
}
