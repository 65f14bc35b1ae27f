#include "net/HttpRequest.h"

#include "net/Address.h"
#include "net/Transfer.h"
#include "text/Gbk.h"
#include "text/Text.h"

#include <vector>

namespace net {
namespace {

constexpr std::string_view kFullWidthBlank = "\xA1\xA1"; // "　" in GBK

// Length of the GBK character at `i` (a lead byte takes its trail byte with it).
size_t charLength(std::string_view s, size_t i) {
    return (static_cast<unsigned char>(s[i]) >= 0x80 && i + 1 < s.size()) ? 2 : 1;
}

bool isBlankAt(std::string_view s, size_t i) {
    return s[i] == ' ' || (charLength(s, i) == 2 && s.substr(i, 2) == kFullWidthBlank);
}

// Removes blanks (ASCII and full-width) at both ends, nothing else.
std::string trimBlanks(std::string_view s) {
    size_t begin = 0;
    while (begin < s.size() && isBlankAt(s, begin))
        begin += charLength(s, begin);
    size_t end = begin; // one past the last character that is not a blank
    for (size_t i = begin; i < s.size(); i += charLength(s, i)) {
        if (!isBlankAt(s, i))
            end = i + charLength(s, i);
    }
    return std::string(s.substr(begin, end - begin));
}

std::string removeBlanks(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); i += charLength(s, i)) {
        if (!isBlankAt(s, i))
            out.append(s.substr(i, charLength(s, i)));
    }
    return out;
}

bool contains(std::string_view haystack, std::string_view needle) { return text::findForward(haystack, needle) > 0; }

// The agent: the text after "User-Agent:" (any case) up to the line end, trimmed; else the default.
std::string agentOf(std::string_view headers) {
    constexpr std::string_view marker = "User-Agent:";
    const int pos = text::findForward(headers, marker, 1, true);
    if (pos < 0)
        return std::string(kDefaultAgent);
    std::string_view rest = headers.substr(static_cast<size_t>(pos - 1) + marker.size());
    const size_t end = rest.find("\r\n");
    return trimBlanks(rest.substr(0, end));
}

// Appends the default lines the caller's text lacks (each search is case-sensitive).
std::string completeHeaders(std::string headers, std::string_view address, std::string_view cookies) {
    if (!contains(headers, "Referer:")) {
        if (headers.empty())
            headers = "Referer: " + std::string(address);
        else
            headers += "\r\nReferer: " + std::string(address);
    }
    if (!contains(headers, "Accept:"))
        headers += "\r\nAccept: */*";
    if (!contains(headers, "Accept-Language:"))
        headers += "\r\nAccept-Language: zh-cn";
    if (!contains(headers, "Content-Type:"))
        headers += "\r\nContent-Type: application/x-www-form-urlencoded";
    if (!cookies.empty())
        headers += "\r\nCookie: " + std::string(cookies);
    return headers;
}

bool hasEntryNamed(const std::vector<std::string> &entries, std::string_view name) {
    for (const std::string &entry : entries) {
        if (text::equalsIgnoringAsciiCase(std::string_view(entry).substr(0, entry.find_first_of(":;")), name))
            return true;
    }
    return false;
}

// The composed text as libcurl header entries. libcurl reads "Name:" with nothing after it as
// "do not send Name", so such a line is written "Name;", which it sends as "Name:". Entries of
// that kind are added where libcurl would otherwise put Accept, Expect or Content-Type lines of
// its own.
std::vector<std::string> headerEntries(std::string_view composed, bool withBody) {
    std::vector<std::string> entries;
    for (std::string_view line : text::splitLines(composed)) {
        if (line.empty())
            continue;
        const size_t colon = line.find(':');
        if (colon != std::string_view::npos &&
            line.find_first_not_of(" \t", colon + 1) == std::string_view::npos)
            entries.push_back(std::string(line.substr(0, colon)) + ";");
        else
            entries.emplace_back(line);
    }
    if (!hasEntryNamed(entries, "Accept"))
        entries.emplace_back("Accept:");
    if (withBody) {
        entries.emplace_back("Expect:");
        if (!hasEntryNamed(entries, "Content-Type"))
            entries.emplace_back("Content-Type:");
    }
    return entries;
}

std::vector<std::string> cookieItems(std::string_view text) {
    std::vector<std::string> items;
    for (std::string_view item : text::splitFields(text, ';')) {
        if (!item.empty())
            items.emplace_back(item);
    }
    return items;
}

std::string cookieName(std::string_view item) { return trimBlanks(item.substr(0, item.find('='))); }

// Merges the response's cookies into the caller's: a new cookie replaces the old one of its name,
// of several old ones with one name the first survives, and "=deleted" items are dropped.
void mergeCookies(std::string &cookies, std::string &returnedCookies) {
    returnedCookies = removeBlanks(returnedCookies);
    std::vector<std::string> merged = cookieItems(returnedCookies);
    for (std::string &old : cookieItems(removeBlanks(cookies))) {
        const std::string name = cookieName(old);
        bool present = false;
        for (const std::string &item : merged)
            present = present || cookieName(item) == name;
        if (!present)
            merged.push_back(std::move(old));
    }
    constexpr std::string_view deleted = "=deleted";
    std::string out;
    for (const std::string &item : merged) {
        if (item.size() >= deleted.size() && item.compare(item.size() - deleted.size(), deleted.size(), deleted) == 0)
            continue;
        if (!out.empty())
            out += "; ";
        out += item;
    }
    cookies = std::move(out);
}

// Reads the Location value and the Set-Cookie items out of the raw header text.
void scanHeaderLines(std::string_view raw, std::string &returnedHeaders, std::string &returnedCookies) {
    returnedHeaders.clear();
    returnedCookies.clear();
    constexpr std::string_view setCookie = "Set-Cookie:";
    for (std::string_view line : text::splitLines(raw)) {
        if (contains(line, "Location:"))
            returnedHeaders = trimBlanks(line.substr(line.find(':') + 1));
        if (contains(line, "Set-Cookie")) {
            // The cookie is the text after "Set-Cookie:" up to its first ";", or to the line end
            // when it carries no attributes.
            const int pos = text::findForward(line, setCookie, 1, true);
            if (pos < 0)
                continue;
            std::string_view value = line.substr(static_cast<size_t>(pos - 1) + setCookie.size());
            const int semicolon = text::findForward(value, ";");
            if (semicolon > 0)
                value = value.substr(0, static_cast<size_t>(semicolon - 1));
            const std::string item = trimBlanks(value);
            if (item.empty())
                continue;
            if (!returnedCookies.empty())
                returnedCookies += "; ";
            returnedCookies += item;
        }
    }
    if (returnedHeaders.empty())
        returnedHeaders = std::string(raw);
}

struct Response {
    std::string headerBlock; // of the latest response only
    std::string body;
};

size_t onHeader(char *data, size_t size, size_t count, void *user) {
    auto *response = static_cast<Response *>(user);
    const std::string_view line(data, size * count);
    // Every response (an interim 1xx, a redirect that is followed) starts afresh: only the final
    // one is handed back.
    if (line.substr(0, 5) == "HTTP/") {
        response->headerBlock.clear();
        response->body.clear();
    }
    response->headerBlock.append(line);
    return size * count;
}

size_t onBody(char *data, size_t size, size_t count, void *user) {
    static_cast<Response *>(user)->body.append(data, size * count);
    return size * count;
}

std::string untilNul(std::string text) {
    const size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return text;
}

} // namespace

std::string httpRequest(RequestArgs &args) {
    if (detail::abortRequested())
        return {};
    const std::optional<RequestTarget> target = splitPageAddress(args.address);
    if (!target)
        return {};
    detail::Transfer transfer;
    if (!transfer.valid())
        return {};

    const std::string agent = agentOf(args.headers);
    args.headers = completeHeaders(std::move(args.headers), args.address, args.cookies);

    // The proxy applies to the http scheme only.
    std::string proxy;
    if (args.proxy && !args.proxy->empty() && !target->secure)
        proxy = "http://" + *args.proxy;
    const std::string url = curlUrl(*target);
    transfer.configure(url, detail::transferTimeouts(), proxy);
    CURL *easy = transfer.easy();
    transfer.setHeaderLines(headerEntries(args.headers, args.method != 0));
    curl_easy_setopt(easy, CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, args.noRedirect ? 0L : 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 20L);

    std::string body;
    if (args.method == 0) {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else {
        if (args.postBytes.empty())
            args.postBytes = args.postText;
        body = args.postBytes;
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.data());
        if (args.method != 1)
            curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, "GET");
    }

    Response response;
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &response);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &response);

    transfer.drive();
    const bool completed = transfer.result() == CURLE_OK;

    // A header block that could not be read, or is too long to keep, reads as 5,000 blanks.
    if (completed && response.headerBlock.size() < kRawHeaderLimit)
        args.rawHeaders = response.headerBlock;
    else
        args.rawHeaders.assign(kRawHeaderLimit, ' ');
    scanHeaderLines(args.rawHeaders, args.returnedHeaders, args.returnedCookies);
    mergeCookies(args.cookies, args.returnedCookies);

    // A body cut short by a failed transfer is no body.
    if (!completed)
        return {};
    return std::move(response.body);
}

std::string httpRequest(std::string_view address) {
    RequestArgs args;
    args.address = address;
    return httpRequest(args);
}

// The two text forms pass every argument on, in and out.
std::string httpRequestText(RequestArgs &args) {
    return untilNul(httpRequest(args));
}

std::string httpRequestText(std::string_view address) {
    RequestArgs args;
    args.address = address;
    return httpRequestText(args);
}

std::string httpRequestUtf8(RequestArgs &args) {
    return untilNul(text::utf8ToGbk(httpRequest(args)));
}

std::string httpRequestUtf8(std::string_view address) {
    RequestArgs args;
    args.address = address;
    return httpRequestUtf8(args);
}

} // namespace net
