#include "Draw.h"

#include <QBuffer>
#include <QFile>
#include <QPainterPath>
#include <QtMath>

namespace picturegen {

QFont sansFont(qreal pixelSize, bool bold) {
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(qRound(pixelSize));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont serifFont(qreal pixelSize, bool bold) {
    QFont font(QStringLiteral("Noto Serif CJK SC"));
    font.setPixelSize(qRound(pixelSize));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QImage transparentImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage filledImage(int width, int height, const QColor &fill) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

void prepare(QPainter &painter) {
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
}

QColor mix(const QColor &a, const QColor &b, qreal t) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t,
                            a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

QColor withAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

void drawEmblem(QPainter &painter, QPointF centre, qreal radius, bool highlighted) {
    painter.save();
    const QColor ring = highlighted ? kBrandBlueLight : kBrandBlue;
    const QColor handle = highlighted ? kAccentLight : kAccent;
    const qreal ringWidth = radius * 0.2;

    // Handle first, so the lens ring overlaps its end.
    const qreal diagonal = radius * 0.70710678;
    const QPointF handleStart = centre + QPointF(diagonal, diagonal) * 0.92;
    const QPointF handleEnd = centre + QPointF(diagonal, diagonal) * 1.62;
    painter.setPen(QPen(handle, radius * 0.36, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(handleStart, handleEnd);

    // Inside of the lens: sky, two mountains and a band of mist.
    const qreal inner = radius - ringWidth / 2;
    QPainterPath lens;
    lens.addEllipse(centre, inner, inner);
    painter.setClipPath(lens);
    QLinearGradient sky(centre - QPointF(0, inner), centre + QPointF(0, inner));
    sky.setColorAt(0, QColor(0xd6, 0xec, 0xfb));
    sky.setColorAt(1, QColor(0xff, 0xff, 0xff));
    painter.fillRect(QRectF(centre - QPointF(inner, inner), QSizeF(2 * inner, 2 * inner)), sky);

    auto mountain = [&](qreal peakX, qreal peakY, qreal halfWidth, const QColor &colour) {
        QPainterPath path;
        path.moveTo(centre + QPointF((peakX - halfWidth) * inner, inner));
        path.lineTo(centre + QPointF(peakX * inner, peakY * inner));
        path.lineTo(centre + QPointF((peakX + halfWidth) * inner, inner));
        path.closeSubpath();
        painter.fillPath(path, colour);
    };
    mountain(0.38, -0.30, 1.05, QColor(0x7f, 0xb3, 0xe0));
    mountain(-0.25, -0.55, 0.95, highlighted ? QColor(0x2f, 0x6f, 0xb8) : QColor(0x27, 0x5f, 0xa3));
    // Snow cap of the front mountain.
    QPainterPath snow;
    snow.moveTo(centre + QPointF(-0.25 * inner, -0.55 * inner));
    snow.lineTo(centre + QPointF(-0.43 * inner, -0.18 * inner));
    snow.lineTo(centre + QPointF(-0.31 * inner, -0.26 * inner));
    snow.lineTo(centre + QPointF(-0.22 * inner, -0.16 * inner));
    snow.lineTo(centre + QPointF(-0.08 * inner, -0.20 * inner));
    snow.closeSubpath();
    painter.fillPath(snow, QColor(255, 255, 255, 230));

    QPainterPath mist;
    mist.moveTo(centre + QPointF(-inner, 0.30 * inner));
    mist.cubicTo(centre + QPointF(-0.4 * inner, 0.05 * inner), centre + QPointF(0.1 * inner, 0.55 * inner),
                 centre + QPointF(inner, 0.22 * inner));
    painter.setPen(QPen(QColor(255, 255, 255, 235), inner * 0.22, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(mist);
    painter.setClipping(false);

    // Ring and a small glint on the glass.
    painter.setPen(QPen(ring, ringWidth));
    painter.drawEllipse(centre, radius - ringWidth / 2, radius - ringWidth / 2);
    painter.setPen(QPen(QColor(255, 255, 255, 200), radius * 0.08, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(centre - QPointF(inner * 0.72, inner * 0.72), QSizeF(inner * 1.44, inner * 1.44)),
                    100 * 16, 50 * 16);
    painter.restore();
}

void drawCrescent(QPainter &painter, QPointF centre, qreal radius, QPointF cutOffset, const QColor &colour) {
    painter.save();
    QRadialGradient halo(centre, radius * 2.2);
    halo.setColorAt(0, withAlpha(colour, 70));
    halo.setColorAt(1, withAlpha(colour, 0));
    painter.fillRect(QRectF(centre - QPointF(radius * 2.2, radius * 2.2), QSizeF(radius * 4.4, radius * 4.4)), halo);
    QPainterPath moon;
    moon.addEllipse(centre, radius, radius);
    QPainterPath cut;
    cut.addEllipse(centre + cutOffset, radius * 0.9, radius * 0.9);
    painter.fillPath(moon.subtracted(cut), colour);
    painter.restore();
}

void drawStar(QPainter &painter, QPointF centre, qreal outer, qreal inner, const QColor &fill) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal angle = -M_PI / 2 + i * M_PI / 5;
        const qreal r = (i % 2 == 0) ? outer : inner;
        star << centre + QPointF(std::cos(angle) * r, std::sin(angle) * r);
    }
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPolygon(star);
    painter.restore();
}

void drawShadowedText(QPainter &painter, const QRectF &rect, int flags, const QString &text,
                      const QColor &colour, int shadowAlpha) {
    painter.save();
    // A few offset copies make a soft shadow without a blur pass.
    const QPointF offsets[] = {{0, 1.5}, {1, 1}, {-1, 1}, {0, 2.5}};
    for (QPointF offset : offsets) {
        painter.setPen(QColor(0, 0, 0, shadowAlpha / 3));
        painter.drawText(rect.translated(offset), flags, text);
    }
    painter.setPen(colour);
    painter.drawText(rect, flags, text);
    painter.restore();
}

bool savePng(const QImage &image, const QString &path) {
    // Opaque pictures are stored without an alpha channel.
    const bool opaque = !image.hasAlphaChannel();
    return image.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32).save(path, "PNG");
}

bool saveJpeg(const QImage &image, const QString &path, int quality, qsizetype padTo) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPG", quality))
        return false;
    // A COM segment right after SOI: marker, two length bytes (counting themselves), then filler.
    if (padTo > bytes.size() + 4) {
        const qsizetype segment = padTo - bytes.size();
        QByteArray comment("\xff\xfe", 2);
        const qsizetype length = segment - 2;
        comment.append(static_cast<char>((length >> 8) & 0xff));
        comment.append(static_cast<char>(length & 0xff));
        comment.append(QByteArray(length - 2, ' '));
        bytes.insert(2, comment);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace picturegen
