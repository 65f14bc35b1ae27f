#pragma once
// How an address text becomes the host, port, path and scheme that a request goes to.

#include <optional>
#include <string>
#include <string_view>

namespace net {

struct RequestTarget {
    std::string host; // lower-cased
    int port = 80;
    std::string path; // from the first "/" after the host, query included, case kept
    bool secure = false;
};

// The page request's rule: a missing scheme counts as "http://", the host is lower-cased, the port
// is the number after the last ":" of the host part, else 443 for https and 80 otherwise.
// Nothing when there is no host.
std::optional<RequestTarget> splitPageAddress(std::string_view address);

// The file download's rule: as above, except that the port is the number after the first ":".
std::optional<RequestTarget> splitDownloadAddress(std::string_view address);

// The address libcurl is given for a target: explicit scheme and port, and a path in which bytes
// that may not stand in a URL (controls, blanks, bytes of 0x80 and above) are percent-encoded.
std::string curlUrl(const RequestTarget &target);

} // namespace net
