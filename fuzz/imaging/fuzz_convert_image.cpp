// Arbitrary bytes converted to every format. Input: one control byte (format in the low three
// bits, 0 and 6 and 7 being no format; bit 3 flattens on white; bit 4 also decodes the first frame
// and measures), then the picture.

#include "imaging/ImageOps.h"

#include <QImageReader>
#include <QtGlobal>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    imaging::startImageLibrary();
    // Pictures of up to a million pixels: larger ones take the same paths, only slower.
    QImageReader::setAllocationLimit(4);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1)
        return 0;
    const int control = data[0];
    const int format = control & 7;
    const std::string_view picture(reinterpret_cast<const char *>(data + 1), size - 1);
    std::string result = "unchanged";
    const bool converted = imaging::convertImage(picture, format, "", result, control & 8);
    if (!converted && result != "unchanged")
        std::abort(); // a failure must leave the result alone
    if (converted && (format < 1 || format > 5 || result.empty()))
        std::abort();
    if (converted && format == 1) {
        // Every BMP it writes can be measured and cut.
        if (imaging::bitmapWidth(result) < 1 || imaging::bitmapHeight(result) < 1)
            std::abort();
        if (imaging::cutBitmap(result, 0, 0, 16, 16).empty())
            std::abort();
    }
    if (control & 16) {
        imaging::loadImageFrame(picture);
        imaging::bitmapWidth(picture);
    }
    return 0;
}
