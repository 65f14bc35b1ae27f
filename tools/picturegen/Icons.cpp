#include "Draw.h"
#include "Pictures.h"

#include <QPainterPath>
#include <QRandomGenerator>
#include <QtMath>

namespace picturegen {

QImage logo(bool highlighted) {
    QImage image = transparentImage(128, 38);
    QPainter painter(&image);
    prepare(painter);
    if (highlighted) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xe3, 0xf0, 0xfc));
        painter.drawRoundedRect(QRectF(0.5, 0.5, 127, 37), 8, 8);
    }
    drawEmblem(painter, QPointF(18, 17), 13.5, highlighted);

    painter.setFont(sansFont(24, true));
    const QColor blue = highlighted ? kBrandBlueLight : kBrandBlue;
    const QColor accent = highlighted ? kAccentLight : kAccent;
    const QRectF textBox(40, 1, 88, 34);
    painter.setPen(blue);
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("岚影"));
    const qreal advance = QFontMetricsF(painter.font()).horizontalAdvance(QStringLiteral("岚影"));
    painter.setPen(accent);
    painter.drawText(textBox.adjusted(advance, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("迷"));
    return image;
}

QImage noPreview() {
    QImage image = filledImage(160, 90, Qt::black);
    QPainter painter(&image);
    prepare(painter);
    QLinearGradient background(0, 0, 0, 90);
    background.setColorAt(0, QColor(0x3a, 0x44, 0x54));
    background.setColorAt(1, QColor(0x1b, 0x20, 0x29));
    painter.fillRect(image.rect(), background);
    // A soft light behind the icon.
    QRadialGradient glow(QPointF(80, 34), 60);
    glow.setColorAt(0, QColor(255, 255, 255, 40));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(image.rect(), glow);

    // Film strip: a frame with sprocket holes on both sides and a play triangle.
    const QRectF strip(60, 17, 40, 30);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xc8, 0xd0, 0xdb));
    painter.drawRoundedRect(strip, 4, 4);
    painter.setBrush(QColor(0x2a, 0x32, 0x3e));
    for (int i = 0; i < 4; ++i) {
        painter.drawRoundedRect(QRectF(strip.left() + 2.5, strip.top() + 3 + i * 6.6, 3.5, 4), 1, 1);
        painter.drawRoundedRect(QRectF(strip.right() - 6, strip.top() + 3 + i * 6.6, 3.5, 4), 1, 1);
    }
    painter.drawRoundedRect(QRectF(strip.left() + 9, strip.top() + 3, 22, 24), 2, 2);
    painter.setBrush(QColor(0xc8, 0xd0, 0xdb));
    QPolygonF triangle;
    triangle << QPointF(77, 25) << QPointF(77, 39) << QPointF(88, 32);
    painter.drawPolygon(triangle);

    painter.setFont(sansFont(13));
    painter.setPen(QColor(0xd5, 0xdb, 0xe4));
    painter.drawText(QRectF(0, 52, 160, 24), Qt::AlignCenter, QStringLiteral("暂无预览"));
    return image;
}

QImage cross(bool dark) {
    QImage image = transparentImage(24, 24);
    QPainter painter(&image);
    prepare(painter);
    painter.setPen(QPen(dark ? QColor(0x5a, 0x5a, 0x5a) : QColor(0xbd, 0xbd, 0xbd), 3.2, Qt::SolidLine,
                        Qt::RoundCap));
    painter.drawLine(QPointF(5.5, 5.5), QPointF(18.5, 18.5));
    painter.drawLine(QPointF(18.5, 5.5), QPointF(5.5, 18.5));
    return image;
}

QImage appIcon() {
    QImage image = transparentImage(128, 128);
    QPainter painter(&image);
    prepare(painter);
    const QRectF tile(6, 6, 116, 116);
    // Drop shadow under the tile.
    for (int i = 4; i >= 1; --i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 12));
        painter.drawRoundedRect(tile.translated(0, i * 0.8).adjusted(-i * 0.5, -i * 0.5, i * 0.5, i * 0.5), 26, 26);
    }
    QLinearGradient fill(tile.topLeft(), tile.bottomRight());
    fill.setColorAt(0, QColor(0x3d, 0x8f, 0xe0));
    fill.setColorAt(1, QColor(0x14, 0x3c, 0x70));
    painter.setBrush(fill);
    painter.drawRoundedRect(tile, 26, 26);
    // Gloss over the upper half.
    QLinearGradient gloss(0, tile.top(), 0, tile.center().y());
    gloss.setColorAt(0, QColor(255, 255, 255, 60));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setBrush(gloss);
    painter.drawRoundedRect(tile, 26, 26);

    // White backing disc so the emblem reads on the blue tile.
    painter.setBrush(QColor(255, 255, 255, 235));
    painter.drawEllipse(QPointF(56, 54), 33, 33);
    drawEmblem(painter, QPointF(56, 54), 32);

    painter.setFont(sansFont(17, true));
    painter.setPen(Qt::white);
    painter.drawText(QRectF(tile.left(), 96, tile.width(), 22), Qt::AlignCenter, QStringLiteral("岚影迷"));
    return image;
}

QImage noResult() {
    QImage image = filledImage(391, 391, Qt::white);
    QPainter painter(&image);
    prepare(painter);
    // The picture box that shows this is 315 pixels high: everything stays within the top part.
    const QPointF centre(195, 120);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xee, 0xf4, 0xfb));
    painter.drawEllipse(centre, 92, 92);
    // Ground shadow.
    painter.setBrush(QColor(0xe2, 0xe8, 0xef));
    painter.drawEllipse(QPointF(195, 222), 70, 7);

    // Scattered dots and small stars around the disc.
    const struct { qreal x, y, r; QColor c; } dots[] = {
        {92, 70, 5, QColor(0xbf, 0xdc, 0xf5)},  {300, 88, 4, QColor(0xff, 0xd3, 0xa6)},
        {314, 204, 5, QColor(0xbf, 0xdc, 0xf5)}, {104, 178, 3.5, QColor(0xff, 0xd3, 0xa6)},
        {128, 40, 3, QColor(0xd0, 0xd8, 0xe2)},  {270, 34, 3, QColor(0xd0, 0xd8, 0xe2)},
    };
    for (const auto &dot : dots) {
        painter.setBrush(dot.c);
        painter.drawEllipse(QPointF(dot.x, dot.y), dot.r, dot.r);
    }
    drawStar(painter, QPointF(86, 124), 8, 3.5, QColor(0xff, 0xc8, 0x8a));
    drawStar(painter, QPointF(308, 140), 6, 2.6, QColor(0x9c, 0xc8, 0xee));

    // A big magnifier tilted a little, a question mark in the lens.
    painter.save();
    painter.translate(centre);
    painter.rotate(-8);
    painter.setPen(QPen(kAccent, 17, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(36, 36), QPointF(72, 72));
    painter.setPen(QPen(QColor(0xd9, 0x74, 0x1c), 17, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(62, 62), QPointF(72, 72));
    painter.setPen(QPen(kBrandBlue, 11));
    painter.setBrush(QColor(0xff, 0xff, 0xff));
    painter.drawEllipse(QPointF(-4, -4), 50, 50);
    painter.setPen(QPen(QColor(0xcf, 0xe5, 0xf8), 5, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(-40, -40, 72, 72), 105 * 16, 55 * 16);
    painter.setFont(sansFont(58, true));
    painter.setPen(QColor(0x9f, 0xb4, 0xcc));
    painter.drawText(QRectF(-54, -56, 100, 100), Qt::AlignCenter, QStringLiteral("?"));
    painter.restore();

    painter.setFont(sansFont(20, true));
    painter.setPen(QColor(0x4a, 0x55, 0x63));
    painter.drawText(QRectF(0, 240, 391, 30), Qt::AlignCenter, QStringLiteral("没有找到相关剧集"));
    painter.setFont(sansFont(13));
    painter.setPen(QColor(0x9a, 0xa3, 0xae));
    painter.drawText(QRectF(0, 272, 391, 22), Qt::AlignCenter, QStringLiteral("换个关键词再试试吧"));
    return image;
}

QImage bannerLogo() {
    QImage image = transparentImage(290, 91);
    QPainter painter(&image);
    prepare(painter);
    // The detail area may show only the left 220 pixels: name and slogan stay there, the right
    // end carries only decoration.
    drawEmblem(painter, QPointF(38, 40), 27);

    painter.setFont(sansFont(34, true));
    const QRectF nameBox(78, 6, 150, 46);
    painter.setPen(kBrandBlue);
    painter.drawText(nameBox, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("岚影"));
    const qreal advance = QFontMetricsF(painter.font()).horizontalAdvance(QStringLiteral("岚影"));
    painter.setPen(kAccent);
    painter.drawText(nameBox.adjusted(advance, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("迷"));

    painter.setFont(sansFont(12));
    painter.setPen(QColor(0x6b, 0x78, 0x88));
    painter.drawText(QRectF(80, 54, 150, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("名侦探岚影 · 全集随心看"));

    // Decorative tail: fading dots and lines.
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        painter.setBrush(withAlpha(kBrandBlueLight, 150 - i * 28));
        painter.drawEllipse(QPointF(232 + i * 12, 30), 3.2 - i * 0.3, 3.2 - i * 0.3);
        painter.setBrush(withAlpha(kAccent, 140 - i * 26));
        painter.drawEllipse(QPointF(238 + i * 12, 46), 2.6 - i * 0.3, 2.6 - i * 0.3);
    }
    QLinearGradient rule(78, 0, 290, 0);
    rule.setColorAt(0, withAlpha(kBrandBlue, 160));
    rule.setColorAt(1, withAlpha(kBrandBlue, 0));
    painter.fillRect(QRectF(80, 78, 210, 1.5), rule);
    return image;
}

QImage magnifier() {
    QImage image = transparentImage(15, 15);
    QPainter painter(&image);
    prepare(painter);
    painter.setPen(QPen(QColor(0x8a, 0x8f, 0x96), 1.7));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(6.2, 6.2), 4.4, 4.4);
    painter.setPen(QPen(QColor(0x8a, 0x8f, 0x96), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(9.6, 9.6), QPointF(13.2, 13.2));
    return image;
}

QImage posterOverlay() {
    QImage image = transparentImage(35, 34);
    QPainter painter(&image);
    prepare(painter);
    // Stretched over the poster: an even dark veil, a little denser towards the edges.
    QRadialGradient veil(QPointF(17.5, 17), 24);
    veil.setColorAt(0, QColor(8, 14, 24, 100));
    veil.setColorAt(1, QColor(8, 14, 24, 150));
    painter.fillRect(image.rect(), veil);
    return image;
}

QImage playButton(bool highlighted) {
    QImage image = transparentImage(54, 54);
    QPainter painter(&image);
    prepare(painter);
    const QPointF centre(27, 27);
    painter.setPen(Qt::NoPen);
    if (highlighted) {
        QRadialGradient fill(QPointF(22, 20), 30);
        fill.setColorAt(0, kAccentLight);
        fill.setColorAt(1, kAccent);
        painter.setBrush(fill);
    } else {
        painter.setBrush(QColor(0, 0, 0, 120));
    }
    painter.drawEllipse(centre, 24.5, 24.5);
    painter.setPen(QPen(QColor(255, 255, 255, highlighted ? 255 : 230), 2.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 24.5, 24.5);

    // Triangle with softened corners, nudged right so it looks centred.
    QPainterPath triangle;
    triangle.moveTo(21.5, 16);
    triangle.lineTo(21.5, 38);
    triangle.lineTo(39, 27);
    triangle.closeSubpath();
    painter.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(triangle);
    return image;
}

QImage aboutPicture() {
    QImage image = filledImage(120, 246, Qt::black);
    QPainter painter(&image);
    prepare(painter);
    QLinearGradient sky(0, 0, 0, 246);
    sky.setColorAt(0, QColor(0x0f, 0x24, 0x45));
    sky.setColorAt(0.55, QColor(0x2a, 0x5f, 0x9e));
    sky.setColorAt(1, QColor(0x8c, 0xc0, 0xe8));
    painter.fillRect(image.rect(), sky);

    QRandomGenerator random(7);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) {
        const qreal x = random.bounded(120.0), y = random.bounded(120.0);
        painter.setBrush(QColor(255, 255, 255, 60 + random.bounded(150)));
        const qreal r = 0.4 + random.bounded(0.9);
        painter.drawEllipse(QPointF(x, y), r, r);
    }
    // Crescent moon.
    drawCrescent(painter, QPointF(88, 34), 12, QPointF(6, -4), QColor(0xff, 0xf3, 0xd0));

    // Mountains with mist, the emblem's landscape at full height.
    auto ridge = [&](qreal baseY, qreal amplitude, const QColor &colour, int seed) {
        QRandomGenerator shape(seed);
        QPainterPath path;
        path.moveTo(0, 246);
        path.lineTo(0, baseY);
        for (int x = 0; x <= 120; x += 15)
            path.lineTo(x, baseY - shape.bounded(amplitude));
        path.lineTo(120, 246);
        path.closeSubpath();
        painter.fillPath(path, colour);
    };
    ridge(176, 40, QColor(0x4c, 0x7c, 0xb4), 3);
    QLinearGradient mist(0, 168, 0, 200);
    mist.setColorAt(0, QColor(255, 255, 255, 0));
    mist.setColorAt(0.5, QColor(255, 255, 255, 110));
    mist.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(QRectF(0, 168, 120, 32), mist);
    ridge(206, 34, QColor(0x1d, 0x3f, 0x6e), 11);
    ridge(232, 18, QColor(0x11, 0x26, 0x45), 5);

    painter.setBrush(QColor(255, 255, 255, 245));
    painter.drawEllipse(QPointF(60, 92), 27, 27);
    drawEmblem(painter, QPointF(58, 90), 24);

    painter.setFont(sansFont(20, true));
    drawShadowedText(painter, QRectF(0, 124, 120, 30), Qt::AlignCenter, QStringLiteral("岚影迷"), Qt::white);
    painter.setFont(sansFont(10));
    drawShadowedText(painter, QRectF(0, 150, 120, 16), Qt::AlignCenter, QStringLiteral("为岚影迷而生"),
                     QColor(0xdc, 0xe9, 0xf7));
    return image;
}

} // namespace picturegen
