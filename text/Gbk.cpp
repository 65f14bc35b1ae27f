#include "Gbk.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace text {
namespace {

// One converter per thread and direction: opening one is far dearer than a conversion, and a
// converter is never shared between threads. It is reset to its initial state before each use.
class Converter {
public:
    Converter(const char *from, const char *to) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t reset() {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return cd_;
    }

private:
    iconv_t cd_;
};

// An unconvertible or invalid input sequence is replaced by `replacement` and skipped.
std::string convert(std::string_view in, Converter &converter, const char *from, std::string_view replacement,
                    size_t badInputStep) {
    std::string out;
    if (in.empty() || !converter.valid())
        return out;
    iconv_t cd = converter.reset();
    out.resize(in.size() * 2 + 16);
    char *src = const_cast<char *>(in.data());
    size_t srcLeft = in.size();
    size_t written = 0;
    while (srcLeft > 0) {
        char *dst = out.data() + written;
        size_t dstLeft = out.size() - written;
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        written = out.size() - dstLeft;
        if (rc != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
        } else { // EILSEQ or EINVAL: replace and step over the bad input
            out.resize(written);
            out.append(replacement);
            written = out.size();
            out.resize(written + srcLeft * 2 + 16);
            size_t step = badInputStep;
            if (errno == EILSEQ && std::string_view(from) == "UTF-8") {
                // Skip one whole UTF-8 character that the target cannot hold.
                // A whole character GBK cannot hold is skipped; a broken sequence one byte at a time.
                const auto lead = static_cast<unsigned char>(*src);
                const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
                bool whole = length <= srcLeft;
                for (size_t i = 1; whole && i < length; ++i)
                    whole = (static_cast<unsigned char>(src[i]) & 0xC0) == 0x80;
                step = whole ? length : 1;
            }
            step = std::min(step, srcLeft);
            src += step;
            srcLeft -= step;
        }
    }
    out.resize(written);
    return out;
}

} // namespace

std::string gbkToUtf8(std::string_view gbk) {
    thread_local Converter converter("GBK", "UTF-8");
    return convert(gbk, converter, "GBK", "\xEF\xBF\xBD", 1);
}

std::string utf8ToGbk(std::string_view utf8) {
    thread_local Converter converter("UTF-8", "GBK");
    return convert(utf8, converter, "UTF-8", "?", 1);
}

} // namespace text
