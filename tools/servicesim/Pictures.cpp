#include "Pictures.h"

#include <QBuffer>
#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdio>

namespace servicesim {
namespace {

// Fonts need a QGuiApplication; without one, digits are drawn as seven-segment figures.
bool fontsAvailable() { return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr; }

// Seven-segment figures for digits, "-" and ":", filling `box`.
void drawSegments(QPainter &painter, const QRectF &box, const QString &text, const QColor &colour) {
    static const unsigned char kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const int count = std::max<int>(1, static_cast<int>(text.size()));
    const double cell = box.width() / count;
    const double w = cell * 0.7;
    const double h = std::min(box.height(), w * 1.8);
    const double t = std::max(1.0, w * 0.15);
    const double top = box.top() + (box.height() - h) / 2;
    for (int i = 0; i < count; ++i) {
        const double left = box.left() + i * cell + (cell - w) / 2;
        const QChar ch = text[i];
        unsigned char bits = 0;
        if (ch.isDigit())
            bits = kSegments[ch.digitValue()];
        else if (ch == u'-')
            bits = 0x40;
        if (ch == u':') {
            painter.fillRect(QRectF(left + w / 2 - t / 2, top + h * 0.3, t, t), colour);
            painter.fillRect(QRectF(left + w / 2 - t / 2, top + h * 0.7, t, t), colour);
            continue;
        }
        const QRectF segments[7] = {
            {left, top, w, t},                    // a: top
            {left + w - t, top, t, h / 2},        // b: upper right
            {left + w - t, top + h / 2, t, h / 2}, // c: lower right
            {left, top + h - t, w, t},            // d: bottom
            {left, top + h / 2, t, h / 2},        // e: lower left
            {left, top, t, h / 2},                // f: upper left
            {left, top + h / 2 - t / 2, w, t},    // g: middle
        };
        for (int s = 0; s < 7; ++s) {
            if (bits & (1 << s))
                painter.fillRect(segments[s], colour);
        }
    }
}

void drawText(QPainter &painter, const QRectF &box, const QString &text, const QColor &colour, int pixelSize,
              bool bold = true) {
    if (!fontsAvailable()) {
        QString digits;
        for (QChar ch : text) {
            if (ch.isDigit() || ch == u'-' || ch == u':')
                digits += ch;
        }
        drawSegments(painter, box.adjusted(2, 2, -2, -2), digits, colour);
        return;
    }
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setBold(bold);
    // Shrinks the text until it fits the box.
    for (; pixelSize > 8; --pixelSize) {
        font.setPixelSize(pixelSize);
        if (QFontMetricsF(font).horizontalAdvance(text) <= box.width() - 8)
            break;
    }
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignCenter, text);
}

std::string jpegBytes(const QImage &image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 88);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString timeText(int seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return QString::fromLatin1(text);
}

} // namespace

std::string thumbnailJpeg(std::string_view caption, std::string_view detail, int seed) {
    QImage image(160, 90, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((seed * 47) % 360, 120, 150));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(0, 66, 160, 24), QColor(0, 0, 0, 110));
    drawText(painter, QRectF(0, 4, 160, 60), QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
             Qt::white, 30);
    drawText(painter, QRectF(0, 66, 160, 24), QString::fromUtf8(detail.data(), static_cast<qsizetype>(detail.size())),
             QColor(255, 230, 150), 12, false);
    painter.end();
    return jpegBytes(image);
}

std::string spriteSheetJpeg(int sheet) {
    QImage image(1600, 900, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int index = 1; index <= 100; ++index) {
        const int row = (index - 1) / 10;
        const int column = (index - 1) % 10;
        const QRectF cell(column * 160, row * 90, 160, 90);
        painter.fillRect(cell, QColor::fromHsv((sheet * 36 + index * 3) % 360, 140, 120));
        painter.setPen(QColor(255, 255, 255, 90));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        drawText(painter, QRectF(cell.left(), cell.top() + 2, 160, 22), QStringLiteral("S%1").arg(sheet),
                 QColor(255, 230, 150), 16);
        drawText(painter, QRectF(cell.left(), cell.top() + 20, 160, 46),
                 fontsAvailable() ? QStringLiteral("#%1").arg(index) : QStringLiteral("%1-%2").arg(sheet).arg(index),
                 Qt::white, 34);
        drawText(painter, QRectF(cell.left(), cell.top() + 66, 160, 22), timeText((sheet * 100 + index) * 6),
                 QColor(200, 240, 255), 15, false);
    }
    painter.end();
    return jpegBytes(image);
}

std::string captchaJpeg(std::string_view text) {
    QImage image(100, 35, QImage::Format_RGB32);
    image.fill(QColor(236, 240, 228));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(170, 180, 200), 1));
    for (int i = 0; i < 6; ++i)
        painter.drawLine(QPointF(i * 17, 0), QPointF(100 - i * 11, 35));
    drawText(painter, QRectF(0, 0, 100, 35), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
             QColor(40, 60, 120), 24);
    painter.end();
    return jpegBytes(image);
}

} // namespace servicesim
