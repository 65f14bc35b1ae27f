// Arbitrary bytes as a BMP, cut and measured. Input: four little-endian 16-bit signed numbers
// (x, y, width, height), then the bitmap.

#include "imaging/ImageOps.h"

#include <QtGlobal>

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {
int take16(const std::uint8_t *at) { return std::int16_t(at[0] | at[1] << 8); }
std::uint32_t field32(std::string_view bytes, std::size_t offset) {
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data()) + offset;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 8)
        return 0;
    // The bitmap is read in place from libFuzzer's exactly sized buffer, so any read past its end
    // is caught.
    const std::string_view bitmap(reinterpret_cast<const char *>(data + 8), size - 8);
    const std::string cut = imaging::cutBitmap(bitmap, take16(data), take16(data + 2), take16(data + 4), take16(data + 6));
    if (!cut.empty()) {
        // A cut is a whole BMP that states its own length and can be cut again.
        if (cut.size() < 54 || cut.compare(0, 2, "BM") != 0 || field32(cut, 2) != cut.size())
            std::abort();
        const std::string again = imaging::cutBitmap(cut, 0, 0, 0x7FFF, 0x7FFF);
        if (again != cut)
            std::abort();
    }
    if (bitmap.substr(0, 2) == "BM") { // other bytes would be decoded; the convert harness covers that
        imaging::bitmapWidth(bitmap);
        imaging::bitmapHeight(bitmap);
    }
    return 0;
}
