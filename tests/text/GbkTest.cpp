#include "text/Gbk.h"

#include <gtest/gtest.h>

using namespace text;

TEST(Gbk, RoundTripsChineseText) {
    const std::string gbkBytes = utf8ToGbk("岚影迷");
    EXPECT_EQ(gbkBytes, "\xE1\xB0\xD3\xB0\xC3\xD4");
    EXPECT_EQ(gbkToUtf8(gbkBytes), "岚影迷");
    EXPECT_EQ(gbkToUtf8(""), "");
}

TEST(Gbk, BadInputIsReplacedNotDropped) {
    EXPECT_EQ(gbkToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");      // not GBK
    EXPECT_EQ(gbkToUtf8("a\xD6"), "a\xEF\xBF\xBD");              // a lead byte that ends the text
    EXPECT_EQ(utf8ToGbk("a😀b"), "a?b");                          // GBK cannot hold it
    EXPECT_EQ(utf8ToGbk("a\xC3" "b"), "a?b");                    // broken UTF-8
}
