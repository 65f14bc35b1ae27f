#include "text/Gbk.h"
#include "text/Text.h"

#include <gtest/gtest.h>

using namespace text;

namespace {

// One GBK character whose second byte is the letter 'A'.
const std::string kTrailA = "\x81\x41";

TEST(TextBetween, Cases) {
    struct Case {
        std::string text, left, right;
        int start;
        bool caseSensitive;
        std::string expected;
    };
    const Case cases[] = {
        {"a\"b\"c", "#引号", "#引号", 0, false, "b"},
        {"x=1;y=2;", "y=", ";", 0, false, "2"},
        {"x=1;y=2;", "y=", ";", 6, false, ""},   // start beyond the y=
        {"x=1;y=2;", "y=", ";", -3, false, "2"}, // negative start means 1
        {"<b>x</b>", "<B>", "</B>", 0, false, "x"},
        {"<b>x</b>", "<B>", "</B>", 0, true, ""},
        {"ab;;", "b;", ";", 0, false, ""}, // right marker directly behind the left one
        {"abc", "z", "c", 0, false, ""},
        {"abc", "a", "z", 0, false, ""},
        {"k=v;k=w;", "k=", ";", 2, false, "w"},
        {"ab", "a", "b", 0, false, ""},
        {kTrailA + "A<B>", "A", ">", 0, true, "<B"}, // the trail byte 'A' is never a match
    };
    for (const Case &c : cases)
        EXPECT_EQ(textBetween(c.text, c.left, c.right, c.start, c.caseSensitive), c.expected)
            << c.text << " " << c.left << " " << c.right;
}

TEST(TextAfterLast, Cases) {
    EXPECT_EQ(textAfterLast("12-abc-def", "-"), "def");
    EXPECT_EQ(textAfterLast("abc", "-"), "");
    EXPECT_EQ(textAfterLast("abc-", "-"), "");
    EXPECT_EQ(textAfterLast("aXb", "x"), "");
    EXPECT_EQ(textAfterLast("aXb", "x", true), "b");
    EXPECT_EQ(textAfterLast("a--b", "--"), "b");
    EXPECT_EQ(textAfterLast("1-" + kTrailA + "z", "A"), ""); // only a trail byte matches
}

TEST(ReplaceMany, PairsApplyInTurnOnEachOthersOutput) {
    EXPECT_EQ(replaceMany("&amp;lt;", {{"&amp;", "&"}, {"&lt;", "<"}}), "<");
    EXPECT_EQ(replaceMany("abc", {{"", "x"}}), "abc");
    EXPECT_EQ(replaceMany("aaa", {{"a", "aa"}}), "aaaaaa"); // inserted text is not scanned again
    EXPECT_EQ(replaceMany("aaaa", {{"aa", "b"}}), "bb");    // occurrences never overlap
    EXPECT_EQ(replaceMany("a-b-c", {{"-", ""}}), "abc");
    EXPECT_EQ(replaceMany("xAxa", {{"a", "!"}}), "x!x!");              // case ignored by default
    EXPECT_EQ(replaceMany("xAxa", {{"a", "!"}}, -1, 0, true), "xAx!"); // case-sensitive
    EXPECT_EQ(replaceMany("aaaa", {{"a", "b"}}, 2), "bbaa");          // count
    EXPECT_EQ(replaceMany("aaaa", {{"a", "b"}}, -1, 3), "aabb");      // start position
    EXPECT_EQ(replaceMany("a", {{"a", "b"}, {"", "z"}, {"b", "c"}}), "c");
    EXPECT_EQ(replaceMany(kTrailA + "A", {{"A", "a"}}, -1, 0, true), kTrailA + "a");
}

TEST(Search, ForwardAndBackwardStepOverTwoByteCharacters) {
    EXPECT_EQ(findForward("abcabc", "bc"), 2);
    EXPECT_EQ(findForward("abcabc", "bc", 3), 5);
    EXPECT_EQ(findForward("abcabc", "bc", 7), -1);
    EXPECT_EQ(findForward("abc", ""), -1);
    EXPECT_EQ(findBackward("abcabc", "bc"), 5);
    EXPECT_EQ(findForward(kTrailA, "A"), -1);
    EXPECT_EQ(findForward("ABC", "b", 1, true), 2);
    EXPECT_EQ(findForward("ABC", "b", 1, false), -1);
    EXPECT_EQ(findForward("\xC4\xE3", "\xE3"), -1);            // never from a trail byte
    // Non-letters are never folded: '[' (0x5B) is not '{' (0x7B).
    EXPECT_EQ(findForward("{", "[", 1, true), -1);
}

TEST(NumberedList, SplittingFollowsTheRowRules) {
    using Values = std::vector<std::string>;
    EXPECT_EQ(numberedListValues("1-a\r\n2-b"), (Values{"a", "b"}));
    EXPECT_EQ(numberedListValues("1-a\r\n"), (Values{"a"}));
    EXPECT_EQ(numberedListValues(""), Values{});
    EXPECT_EQ(numberedListValues("1-a\r\n\r\n2-b"), (Values{"a", "", "b"}));
    EXPECT_EQ(numberedListValues("12-a-b"), (Values{"b"}));
    EXPECT_EQ(numberedListValues("1-a\r2-b"), (Values{"b"})); // a CR alone does not end a row
    EXPECT_EQ(splitLines("1-a\r\n\r\n").size(), 2u);
}

TEST(Equality, ByteForByteAndCaseSensitive) {
    EXPECT_TRUE(textEquals("", std::string()));
    EXPECT_FALSE(textEquals("a", "A"));
    EXPECT_TRUE(textEquals(gbk("查找"), gbk("查找")));
}

} // namespace

namespace {

TEST(AsciiNames, FoldAndTrimOnlyAscii) {
    EXPECT_EQ(text::asciiLower("Content-TYPE"), "content-type");
    EXPECT_EQ(text::asciiLower("\xC4\xE3Z"), "\xC4\xE3z"); // GBK bytes stay as they are
    EXPECT_TRUE(text::equalsIgnoringAsciiCase("Set-Cookie", "set-cookie"));
    EXPECT_FALSE(text::equalsIgnoringAsciiCase("Set-Cookie", "Set-Cookie2"));
    EXPECT_EQ(text::trimBlanks(" \t a b \t"), "a b");
    EXPECT_EQ(text::trimBlanks(" \t "), "");
}

} // namespace
