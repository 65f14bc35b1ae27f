#pragma once
// The one page request of the program: a single HTTP or HTTPS request with headers composed by the
// program itself, cookies kept in the caller's own texts, and the body handed back as bytes.
//
// Each call is complete in itself (its own libcurl handle, nothing kept between calls) and blocks
// until the whole body has been read. Calls may run on any thread at the same time.

#include <optional>
#include <string>
#include <string_view>

namespace net {

// The eleven arguments of a request. Only the address is required; a field left alone behaves as
// the empty text, 0, false or empty bytes. Fields marked in/out or out are written by the call
// (all texts are GBK byte strings; bytes are std::string).
struct RequestArgs {
    std::string address;         // in: full address; a missing scheme counts as "http://"
    int method = 0;              // in: 0 GET without body, 1 POST with body, other: "GET" with a body
    std::string postText;        // in: body text, used when postBytes is empty
    std::string cookies;         // in/out: sent in the Cookie line; afterwards merged with the response's
    std::string returnedCookies; // out: the cookies the response set, items joined by ";"
    std::string headers;         // in/out: extra lines joined by CR LF; the default lines get appended
    std::string returnedHeaders; // out: the response's Location value, else the whole raw header text
    bool noRedirect = false;     // in: true keeps redirects from being followed
    std::string postBytes;       // in/out: body bytes; filled from postText when a body is sent and it is empty
    std::optional<std::string> proxy; // in: "host:port" of an http proxy; empty counts as none
    std::string rawHeaders;      // out: status line and header lines of the final response, CR LF separated
};

// The response body exactly as received; empty bytes when nothing could be fetched.
std::string httpRequest(RequestArgs &args);
std::string httpRequest(std::string_view address);

// The body as a text, unchanged, up to its first NUL byte.
std::string httpRequestText(RequestArgs &args);
std::string httpRequestText(std::string_view address);

// The body decoded from UTF-8 into GBK (characters GBK cannot hold become "?"), up to its first NUL.
std::string httpRequestUtf8(RequestArgs &args);
std::string httpRequestUtf8(std::string_view address);

// The agent a request names when its headers carry no User-Agent line.
inline constexpr std::string_view kDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; 2Pac; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; .NET "
    "CLR 3.5.21022)";

// The text a header block that could not be read (or did not fit) reads as: 5,000 blanks.
inline constexpr size_t kRawHeaderLimit = 5000;

} // namespace net
