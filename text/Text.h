#pragma once
// GBK text helpers shared by the whole program.
//
// Every program text is a byte string in GBK: positions are 1-based byte positions and a byte of
// 0x80 or more starts a two-byte character, so no search ever matches from a trail byte. The
// functions are pure and may be called from any thread.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace text {

// Forward search from the 1-based position `start` (values below 1 mean 1). Answers the
// 1-based position of the first match, or -1.
int findForward(std::string_view haystack, std::string_view needle, int start = 1, bool ignoreCase = false);
// Backward search over the whole text: the position of the last match met walking forward, or -1.
int findBackward(std::string_view haystack, std::string_view needle, bool ignoreCase = false);

// The text strictly between the first `left` at or after `start` and the first `right` after it.
// In both markers the word "#引号" stands for a double quote. Case is ignored unless
// `caseSensitive` is set.
std::string textBetween(std::string_view text, std::string_view left, std::string_view right, int start = 0,
                        bool caseSensitive = false);

struct Replacement {
    std::string_view find;
    std::string_view replacement;
};
// Applies each pair in turn, each on the result of the one before, in one left-to-right scan per
// pair. `count` < 0 replaces every occurrence; `start` < 1 means position 1.
std::string replaceMany(std::string_view text, std::initializer_list<Replacement> pairs, int count = -1,
                        int start = 0, bool caseSensitive = false);

// Everything after the last occurrence of `marker`; empty when it is missing or ends the text.
std::string textAfterLast(std::string_view text, std::string_view marker, bool ignoreCase = false);

// Byte-for-byte, case-sensitive equality (a missing text is the empty text).
inline bool textEquals(std::string_view a, std::string_view b) { return a == b; }

// ASCII-only case folding and blank trimming, for protocol and file-format names (HTTP header
// names, INI keys); bytes of 0x80 and above are never changed.
std::string asciiLower(std::string_view text);
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
// The text without leading and trailing blanks and tabs.
std::string trimBlanks(std::string_view text);

// Splits a CR LF separated text: an empty piece between separators is an empty row, an empty
// piece after the last separator is dropped, and the empty text has no rows.
std::vector<std::string_view> splitLines(std::string_view text);

// A NumberedList ("1-value" CR LF "2-value" ...) split into the values of its rows, in order.
// The value of a row is the text after its last "-".
std::vector<std::string> numberedListValues(std::string_view list);

// Splits at every occurrence of `separator` (a single byte that never occurs as a GBK trail byte
// of the texts it is used on, such as "|").
std::vector<std::string_view> splitFields(std::string_view line, char separator);

} // namespace text
