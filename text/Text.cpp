#include "Text.h"

#include <algorithm>

namespace text {
namespace {

constexpr std::string_view kQuoteWord = "#引号";

unsigned char foldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

bool matchesAt(std::string_view hay, size_t pos, std::string_view needle, bool ignoreCase) {
    if (hay.size() - pos < needle.size())
        return false;
    if (!ignoreCase)
        return hay.compare(pos, needle.size(), needle) == 0;
    for (size_t i = 0; i < needle.size(); ++i) {
        if (foldAscii(static_cast<unsigned char>(hay[pos + i])) != foldAscii(static_cast<unsigned char>(needle[i])))
            return false;
    }
    return true;
}

// Walks character by character from `from` (0-based); calls `onMatch(pos)` for every match start
// until it answers false. A lead byte that ends the text ends the walk.
template <typename OnMatch>
void walk(std::string_view hay, size_t from, std::string_view needle, bool ignoreCase, OnMatch onMatch) {
    if (needle.empty())
        return;
    size_t i = from;
    while (i < hay.size()) {
        if (matchesAt(hay, i, needle, ignoreCase) && !onMatch(i))
            return;
        if (static_cast<unsigned char>(hay[i]) >= 0x80) {
            if (i + 1 >= hay.size())
                return;
            i += 2;
        } else {
            ++i;
        }
    }
}

std::string quoteMarker(std::string_view marker) {
    return replaceMany(marker, {{kQuoteWord, "\""}}, -1, 0, true);
}

} // namespace

int findForward(std::string_view haystack, std::string_view needle, int start, bool ignoreCase) {
    const size_t from = start < 1 ? 0 : static_cast<size_t>(start - 1);
    if (from >= haystack.size())
        return -1;
    int found = -1;
    // The walk starts at the start position itself, as the region does.
    walk(haystack, from, needle, ignoreCase, [&](size_t pos) {
        found = static_cast<int>(pos) + 1;
        return false;
    });
    return found;
}

int findBackward(std::string_view haystack, std::string_view needle, bool ignoreCase) {
    int found = -1;
    walk(haystack, 0, needle, ignoreCase, [&](size_t pos) {
        found = static_cast<int>(pos) + 1;
        return true;
    });
    return found;
}

std::string textBetween(std::string_view text, std::string_view left, std::string_view right, int start,
                        bool caseSensitive) {
    const std::string l = quoteMarker(left);
    const std::string r = quoteMarker(right);
    if (l.empty() || r.empty())
        return {};
    const int lp = findForward(text, l, start, !caseSensitive);
    if (lp < 0)
        return {};
    const int after = lp + static_cast<int>(l.size());
    const int rp = findForward(text, r, after, !caseSensitive);
    if (rp < 0 || rp == after) // missing, or directly behind the left marker
        return {};
    return std::string(text.substr(static_cast<size_t>(after - 1), static_cast<size_t>(rp - after)));
}

std::string replaceMany(std::string_view text, std::initializer_list<Replacement> pairs, int count, int start,
                        bool caseSensitive) {
    std::string current(text);
    const size_t from = start < 1 ? 0 : static_cast<size_t>(start - 1);
    for (const Replacement &pair : pairs) {
        if (pair.find.empty() || from >= current.size())
            continue;
        std::string out;
        out.reserve(current.size());
        out.append(current, 0, from);
        size_t copied = from;
        int done = 0;
        walk(current, from, pair.find, !caseSensitive, [&](size_t pos) {
            if (pos < copied) // inside the occurrence just replaced: occurrences never overlap
                return true;
            if (count >= 0 && done >= count)
                return false;
            out.append(current, copied, pos - copied);
            out.append(pair.replacement);
            copied = pos + pair.find.size();
            ++done;
            return true;
        });
        out.append(current, copied, std::string::npos);
        current = std::move(out);
    }
    return current;
}

std::string textAfterLast(std::string_view text, std::string_view marker, bool ignoreCase) {
    const int pos = findBackward(text, marker, ignoreCase);
    if (pos < 0)
        return {};
    return std::string(text.substr(static_cast<size_t>(pos - 1) + marker.size()));
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char &c : out)
        c = static_cast<char>(foldAscii(static_cast<unsigned char>(c)));
    return out;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && matchesAt(a, 0, b, true);
}

std::string trimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> rows;
    size_t begin = 0;
    while (begin < text.size()) {
        const size_t end = text.find("\r\n", begin);
        if (end == std::string_view::npos) {
            rows.push_back(text.substr(begin));
            break;
        }
        rows.push_back(text.substr(begin, end - begin));
        begin = end + 2;
    }
    return rows;
}

std::vector<std::string> numberedListValues(std::string_view list) {
    std::vector<std::string> values;
    const auto rows = splitLines(list);
    values.reserve(rows.size());
    for (std::string_view row : rows)
        values.push_back(textAfterLast(row, "-"));
    return values;
}

std::vector<std::string_view> splitFields(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    size_t begin = 0;
    for (;;) {
        const size_t end = line.find(separator, begin);
        fields.push_back(line.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
        if (end == std::string_view::npos)
            break;
        begin = end + 1;
    }
    return fields;
}

} // namespace text
