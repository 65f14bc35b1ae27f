#include "net/Address.h"

#include "text/Text.h"

namespace net {
namespace {

// Lower-cases ASCII letters, leaving both bytes of a two-byte GBK character alone (a trail byte
// may be an ASCII letter).
std::string lowerGbk(std::string_view s) {
    std::string out(s);
    for (size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 0x80)
            ++i;
        else if (c >= 'A' && c <= 'Z')
            out[i] = static_cast<char>(c + 32);
    }
    return out;
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// The number at the front of a text (blanks before it skipped); 0 when there is none. Large values
// are capped so a port check can reject them.
long numberValue(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    long value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > 1000000)
            break;
    }
    return value;
}

// Length of a leading "http://" or "https://" (any case), else 0.
size_t schemeLength(std::string_view lowered) {
    if (startsWith(lowered, "https://"))
        return 8;
    if (startsWith(lowered, "http://"))
        return 7;
    return 0;
}

// The object path: from the first "/" after the host (searched without regard to case, behind the
// scheme) to the end of the address, in the case given; "/" when there is none.
std::string objectPath(std::string_view address, std::string_view host, size_t schemeLen) {
    const int hostPos = text::findForward(address, host, static_cast<int>(schemeLen) + 1, true);
    if (hostPos < 0)
        return "/";
    const int slash = text::findForward(address, "/", hostPos);
    if (slash < 0)
        return "/";
    return std::string(address.substr(static_cast<size_t>(slash - 1)));
}

std::optional<RequestTarget> finish(std::string_view address, std::string_view lowered, std::string_view hostPart,
                                    size_t portColon) {
    RequestTarget target;
    target.secure = startsWith(lowered, "https");
    target.host = std::string(hostPart.substr(0, hostPart.find(':')));
    if (target.host.empty())
        return std::nullopt;
    long port = 0;
    if (portColon != std::string_view::npos)
        port = numberValue(hostPart.substr(portColon + 1));
    if (port == 0)
        port = target.secure ? 443 : 80;
    if (port > 65535)
        return std::nullopt;
    target.port = static_cast<int>(port);
    target.path = objectPath(address, target.host, schemeLength(lowered));
    return target;
}

} // namespace

std::optional<RequestTarget> splitPageAddress(std::string_view address) {
    const std::string lowered = lowerGbk(address);
    // Only a scheme at the front counts: an "http://" further on (in a query, say) is not one.
    const size_t begin = schemeLength(lowered);
    const size_t end = lowered.find('/', begin);
    const std::string_view hostPart =
        std::string_view(lowered).substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    return finish(address, lowered, hostPart, hostPart.rfind(':'));
}

std::optional<RequestTarget> splitDownloadAddress(std::string_view address) {
    const std::string lowered = lowerGbk(address);
    const size_t begin = schemeLength(lowered);
    const size_t end = lowered.find('/', begin);
    const std::string_view hostPart =
        std::string_view(lowered).substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    return finish(address, lowered, hostPart, hostPart.find(':'));
}

std::string curlUrl(const RequestTarget &target) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = target.secure ? "https://" : "http://";
    url += target.host;
    url += ':';
    url += std::to_string(target.port);
    for (const char ch : target.path) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F) {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        } else {
            url += ch;
        }
    }
    return url;
}

} // namespace net
