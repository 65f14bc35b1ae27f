#include "Draw.h"
#include "Pictures.h"

#include <QPainterPath>
#include <QRandomGenerator>
#include <QtMath>

#include <functional>

namespace picturegen {
namespace {

constexpr qreal kWidth = 162;

struct Scheme {
    QColor skyTop, skyBottom, accent;
};

// ---- Building blocks -------------------------------------------------------------------------

void fillSky(QPainter &p, qreal height, std::initializer_list<std::pair<qreal, QColor>> stops) {
    QLinearGradient sky(0, 0, 0, height);
    for (const auto &[at, colour] : stops)
        sky.setColorAt(at, colour);
    p.fillRect(QRectF(0, 0, kWidth, height), sky);
}

void stars(QPainter &p, int seed, int count, const QRectF &area, int maxAlpha = 230) {
    QRandomGenerator random(seed);
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF at(area.left() + random.bounded(area.width()), area.top() + random.bounded(area.height()));
        const qreal r = 0.35 + random.bounded(0.85);
        p.setBrush(QColor(255, 255, 255, 60 + random.bounded(maxAlpha - 60)));
        p.drawEllipse(at, r, r);
    }
    p.restore();
}

void glowDisc(QPainter &p, QPointF centre, qreal radius, const QColor &colour, qreal glow = 2.2) {
    QRadialGradient halo(centre, radius * glow);
    halo.setColorAt(0, withAlpha(colour, 110));
    halo.setColorAt(0.45, withAlpha(colour, 40));
    halo.setColorAt(1, withAlpha(colour, 0));
    p.fillRect(QRectF(centre.x() - radius * glow, centre.y() - radius * glow, radius * glow * 2, radius * glow * 2),
               halo);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(centre, radius, radius);
}

// A ridge of hills from left to right, filled down to `bottom`.
void ridge(QPainter &p, int seed, qreal baseY, qreal amplitude, qreal step, qreal bottom, const QBrush &fill) {
    QRandomGenerator random(seed);
    QPainterPath path;
    path.moveTo(-2, bottom);
    path.lineTo(-2, baseY - random.bounded(amplitude));
    QPointF previous(-2, baseY);
    for (qreal x = step; x <= kWidth + step; x += step) {
        const QPointF point(x, baseY - random.bounded(amplitude));
        const QPointF mid = (previous + point) / 2;
        path.quadTo(previous, mid);
        previous = point;
    }
    path.lineTo(kWidth + 2, previous.y());
    path.lineTo(kWidth + 2, bottom);
    path.closeSubpath();
    p.fillPath(path, fill);
}

void fogBand(QPainter &p, qreal y, qreal height, int alpha, const QColor &colour = Qt::white) {
    QLinearGradient fog(0, y, 0, y + height);
    fog.setColorAt(0, withAlpha(colour, 0));
    fog.setColorAt(0.5, withAlpha(colour, alpha));
    fog.setColorAt(1, withAlpha(colour, 0));
    p.fillRect(QRectF(0, y, kWidth, height), fog);
}

void sparkle(QPainter &p, QPointF c, qreal r, const QColor &colour) {
    QPainterPath path;
    path.moveTo(c + QPointF(0, -r));
    path.quadTo(c, c + QPointF(r, 0));
    path.quadTo(c, c + QPointF(0, r));
    path.quadTo(c, c + QPointF(-r, 0));
    path.quadTo(c, c + QPointF(0, -r));
    p.fillPath(path, colour);
}

void pine(QPainter &p, qreal x, qreal baseY, qreal height, const QColor &colour) {
    QPolygonF tree;
    tree << QPointF(x, baseY - height) << QPointF(x + height * 0.32, baseY) << QPointF(x - height * 0.32, baseY);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(tree);
}

// Simple house row: boxes with pitched roofs and a few lit windows.
void rooftops(QPainter &p, int seed, qreal baseY, qreal fromX, qreal toX, const QColor &colour,
              const QColor &window) {
    QRandomGenerator random(seed);
    p.setPen(Qt::NoPen);
    for (qreal x = fromX; x < toX;) {
        const qreal w = 14 + random.bounded(12.0), h = 10 + random.bounded(14.0);
        p.setBrush(colour);
        p.drawRect(QRectF(x, baseY - h, w, h + 40));
        QPolygonF roof;
        roof << QPointF(x - 1, baseY - h) << QPointF(x + w / 2, baseY - h - 7) << QPointF(x + w + 1, baseY - h);
        p.drawPolygon(roof);
        if (random.bounded(3) != 0) {
            p.setBrush(window);
            p.drawRect(QRectF(x + w / 2 - 2, baseY - h + 4, 3.5, 3.5));
        }
        x += w + 1;
    }
}

// ---- The eighteen scenes ---------------------------------------------------------------------

void clockTower(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0x17, 0x13, 0x3a)}, {0.75, QColor(0x5b, 0x3a, 0x7a)}, {1, QColor(0x7a, 0x4a, 0x80)}});
    stars(p, 1, 50, QRectF(0, 0, kWidth, 110));
    glowDisc(p, QPointF(112, 66), 30, QColor(0xf6, 0xe3, 0xa8));
    const QColor dark(0x15, 0x10, 0x2a);
    rooftops(p, 11, 172, -4, 60, QColor(0x2a, 0x1d, 0x47), QColor(0xf2, 0xc1, 0x4e));
    rooftops(p, 12, 176, 100, 170, QColor(0x2a, 0x1d, 0x47), QColor(0xf2, 0xc1, 0x4e));
    p.setPen(Qt::NoPen);
    p.setBrush(dark);
    p.drawRect(QRectF(62, 78, 38, 140));
    p.drawRect(QRectF(58, 74, 46, 6));
    QPolygonF spire;
    spire << QPointF(58, 74) << QPointF(81, 26) << QPointF(104, 74);
    p.drawPolygon(spire);
    p.drawRect(QRectF(80.2, 14, 1.6, 14));
    // Clock face with thirteen marks.
    const QPointF face(81, 100);
    glowDisc(p, face, 13, QColor(0xf2, 0xc1, 0x4e), 1.8);
    p.setPen(QPen(dark, 1.1));
    for (int i = 0; i < 13; ++i) {
        const qreal a = i * 2 * M_PI / 13 - M_PI / 2;
        p.drawLine(face + QPointF(std::cos(a), std::sin(a)) * 10, face + QPointF(std::cos(a), std::sin(a)) * 12);
    }
    p.setPen(QPen(dark, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(face, face + QPointF(0, -8.5));
    p.drawLine(face, face + QPointF(5, 2));
    // Tall arched window below the clock.
    p.setBrush(QColor(0xf2, 0xc1, 0x4e, 200));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(77, 124, 8, 18), 4, 4);
    // Birds.
    p.setPen(QPen(dark, 1.2));
    for (QPointF b : {QPointF(30, 40), QPointF(40, 52), QPointF(22, 58)}) {
        p.drawLine(b, b + QPointF(4, 2.5));
        p.drawLine(b + QPointF(4, 2.5), b + QPointF(8, 0));
    }
}

void ghostShip(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0x24, 0x3b, 0x4a)}, {0.6, QColor(0x6f, 0x93, 0x9c)}, {1, QColor(0x1a, 0x30, 0x3a)}});
    glowDisc(p, QPointF(46, 52), 16, QColor(0xe6, 0xf2, 0xee), 2.6);
    fogBand(p, 40, 40, 70);
    // Sea.
    QLinearGradient sea(0, 140, 0, h);
    sea.setColorAt(0, QColor(0x2c, 0x4d, 0x58));
    sea.setColorAt(1, QColor(0x0e, 0x1d, 0x24));
    p.fillRect(QRectF(0, 140, kWidth, h), sea);
    // The ship: a translucent hull, three masts and pale sails.
    const QColor ghost(0xd8, 0xf0, 0xea);
    QPainterPath hull;
    hull.moveTo(30, 128);
    hull.lineTo(134, 124);
    hull.quadTo(128, 142, 118, 146);
    hull.lineTo(44, 146);
    hull.quadTo(34, 140, 30, 128);
    p.fillPath(hull, withAlpha(ghost, 120));
    p.setPen(QPen(withAlpha(ghost, 200), 1.3));
    for (qreal x : {58.0, 84.0, 108.0})
        p.drawLine(QPointF(x, 128), QPointF(x, x == 84.0 ? 50 : 66));
    p.setPen(Qt::NoPen);
    auto sail = [&](qreal x, qreal top, qreal bottom, qreal half) {
        QPainterPath s;
        s.moveTo(x - half, top);
        s.quadTo(x, top + 4, x + half, top);
        s.quadTo(x + half + 5, (top + bottom) / 2, x + half, bottom);
        s.quadTo(x, bottom + 3, x - half, bottom);
        s.quadTo(x - half + 4, (top + bottom) / 2, x - half, top);
        p.fillPath(s, withAlpha(ghost, 105));
    };
    sail(58, 72, 96, 12);
    sail(58, 100, 122, 14);
    sail(84, 56, 84, 15);
    sail(84, 88, 120, 17);
    sail(108, 72, 96, 12);
    sail(108, 100, 122, 14);
    p.setPen(QPen(withAlpha(ghost, 150), 1));
    p.drawLine(QPointF(84, 50), QPointF(134, 124));
    // Tattered flag.
    QPolygonF flag;
    flag << QPointF(84, 50) << QPointF(98, 53) << QPointF(92, 55) << QPointF(99, 58) << QPointF(84, 58);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(QColor(0x9f, 0xe8, 0xd6), 170));
    p.drawPolygon(flag);
    // Reflection and waves.
    p.fillRect(QRectF(40, 148, 90, 10), withAlpha(ghost, 35));
    p.setPen(QPen(QColor(0x9f, 0xc8, 0xc8, 90), 1));
    for (int row = 0; row < 6; ++row) {
        const qreal y = 152 + row * 9;
        for (qreal x = (row % 2) * 14 - 6; x < kWidth; x += 28)
            p.drawArc(QRectF(x, y, 14, 5), 0, 180 * 16);
    }
    fogBand(p, 112, 44, 110);
}

void observatory(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0x08, 0x12, 0x2b)}, {0.7, QColor(0x22, 0x3d, 0x78)}, {1, QColor(0x3a, 0x5c, 0x9a)}});
    stars(p, 3, 110, QRectF(0, 0, kWidth, 150));
    // A constellation joined by faint lines.
    const QPointF points[] = {{22, 30}, {44, 22}, {66, 36}, {88, 28}, {104, 50}, {132, 40}};
    p.setPen(QPen(QColor(0xff, 0xe3, 0x9a, 120), 0.8));
    for (int i = 0; i + 1 < 6; ++i)
        p.drawLine(points[i], points[i + 1]);
    for (QPointF pt : points)
        sparkle(p, pt, 4, QColor(0xff, 0xe3, 0x9a));
    // Shooting star.
    QLinearGradient trail(120, 70, 150, 58);
    trail.setColorAt(0, QColor(255, 255, 255, 0));
    trail.setColorAt(1, QColor(255, 255, 255, 220));
    p.setPen(QPen(QBrush(trail), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(110, 76), QPointF(150, 58));
    // Hill and the observatory.
    QPainterPath hill;
    hill.moveTo(-2, h);
    hill.lineTo(-2, 168);
    hill.cubicTo(40, 150, 70, 128, 110, 132);
    hill.cubicTo(140, 135, 150, 150, 164, 156);
    hill.lineTo(164, h);
    p.fillPath(hill, QColor(0x0b, 0x14, 0x2a));
    const QColor building(0x0b, 0x14, 0x2a);
    p.setPen(Qt::NoPen);
    p.setBrush(building);
    p.drawRect(QRectF(88, 112, 40, 24));
    p.drawPie(QRectF(86, 92, 44, 40), 0, 180 * 16);
    // Open slit with the telescope pointing at the stars.
    p.setBrush(QColor(0xff, 0xd8, 0x6b, 210));
    QPolygonF slit;
    slit << QPointF(104, 93) << QPointF(112, 93) << QPointF(113, 110) << QPointF(103, 110);
    p.drawPolygon(slit);
    p.setPen(QPen(building, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(108, 108), QPointF(117, 88));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xd8, 0x6b));
    p.drawRect(QRectF(93, 120, 5, 6));
    p.drawRect(QRectF(118, 120, 5, 6));
    // Two small figures on the hill.
    p.setBrush(building);
    for (qreal x : {46.0, 54.0}) {
        p.drawEllipse(QPointF(x, 146 - (x - 46) * 0.4), 2.2, 2.2);
        p.drawRoundedRect(QRectF(x - 2.5, 148.5 - (x - 46) * 0.4, 5, 9), 2, 2);
    }
}

void sapphireEye(QPainter &p, qreal h) {
    QRadialGradient background(QPointF(81, 92), 150);
    background.setColorAt(0, QColor(0x24, 0x34, 0x78));
    background.setColorAt(1, QColor(0x05, 0x08, 0x18));
    p.fillRect(QRectF(0, 0, kWidth, h), background);
    // Rays behind the jewel.
    p.save();
    p.translate(81, 92);
    for (int i = 0; i < 16; ++i) {
        p.rotate(360.0 / 16);
        QPolygonF ray;
        ray << QPointF(0, 0) << QPointF(-6, -140) << QPointF(6, -140);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x7f, 0xa8, 0xff, i % 2 ? 18 : 32));
        p.drawPolygon(ray);
    }
    p.restore();
    // The eye outline around the jewel.
    QPainterPath eye;
    eye.moveTo(14, 92);
    eye.quadTo(81, 26, 148, 92);
    eye.quadTo(81, 158, 14, 92);
    p.setPen(QPen(QColor(0xe8, 0xc8, 0x72), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(eye);
    // Lashes above.
    for (int i = -3; i <= 3; ++i) {
        const qreal x = 81 + i * 16;
        const qreal y = 92 - (1 - (i / 4.2) * (i / 4.2)) * 32;
        p.drawLine(QPointF(x, y), QPointF(x + i * 2.4, y - 9));
    }
    // Faceted gem.
    const QPointF c(81, 92);
    const QPointF crownL(c + QPointF(-30, -10)), crownR(c + QPointF(30, -10));
    const QPointF tableL(c + QPointF(-16, -24)), tableR(c + QPointF(16, -24));
    const QPointF bottom(c + QPointF(0, 34));
    auto facet = [&](std::initializer_list<QPointF> pts, const QColor &colour) {
        QPolygonF polygon(pts);
        p.setPen(QPen(QColor(0xbf, 0xd6, 0xff, 140), 0.7));
        p.setBrush(colour);
        p.drawPolygon(polygon);
    };
    facet({tableL, tableR, c + QPointF(0, -10)}, QColor(0x7f, 0xb0, 0xff));
    facet({tableL, crownL, c + QPointF(-12, -10)}, QColor(0x3f, 0x7b, 0xff));
    facet({tableL, c + QPointF(-12, -10), c + QPointF(0, -10)}, QColor(0x5c, 0x95, 0xff));
    facet({tableR, c + QPointF(12, -10), c + QPointF(0, -10)}, QColor(0x2c, 0x62, 0xe6));
    facet({tableR, crownR, c + QPointF(12, -10)}, QColor(0x1e, 0x4f, 0xd8));
    facet({crownL, c + QPointF(-12, -10), bottom}, QColor(0x16, 0x3c, 0xb0));
    facet({c + QPointF(-12, -10), c + QPointF(0, -10), bottom}, QColor(0x2a, 0x5c, 0xe0));
    facet({c + QPointF(0, -10), c + QPointF(12, -10), bottom}, QColor(0x12, 0x34, 0x9c));
    facet({c + QPointF(12, -10), crownR, bottom}, QColor(0x0c, 0x26, 0x7e));
    sparkle(p, c + QPointF(-8, -18), 7, QColor(255, 255, 255, 230));
    sparkle(p, c + QPointF(24, -14), 4, QColor(255, 255, 255, 200));
    sparkle(p, QPointF(34, 56), 3, QColor(0xe8, 0xc8, 0x72));
    sparkle(p, QPointF(130, 128), 3.5, QColor(0xe8, 0xc8, 0x72));
}

void midnightTrain(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0x10, 0x0b, 0x2b)}, {0.65, QColor(0x3b, 0x2d, 0x6b)}, {1, QColor(0x4d, 0x3a, 0x78)}});
    stars(p, 5, 60, QRectF(0, 0, kWidth, 100));
    glowDisc(p, QPointF(126, 40), 14, QColor(0xfa, 0xf0, 0xd2));
    ridge(p, 51, 112, 22, 26, h, QColor(0x2c, 0x21, 0x52));
    // Viaduct: deck and arches.
    const QColor stone(0x17, 0x10, 0x30);
    p.fillRect(QRectF(0, 130, kWidth, 6), stone);
    QPainterPath arches;
    arches.addRect(QRectF(0, 136, kWidth, h - 136));
    for (qreal x = -6; x < kWidth; x += 30) {
        QPainterPath arch;
        arch.addRoundedRect(QRectF(x + 5, 146, 20, 80), 10, 10);
        arches = arches.subtracted(arch);
    }
    p.fillPath(arches, stone);
    // The train with lit windows.
    const QColor body(0x0d, 0x08, 0x1f);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(104, 108, 44, 22), 4, 4);
    p.drawRect(QRectF(134, 98, 10, 12));
    p.drawRect(QRectF(112, 100, 5, 9));
    for (int car = 0; car < 3; ++car)
        p.drawRoundedRect(QRectF(6 + car * 33, 112, 31, 18), 3, 3);
    p.setBrush(QColor(0xff, 0xcf, 0x5c));
    for (int car = 0; car < 3; ++car)
        for (int w = 0; w < 4; ++w)
            p.drawRect(QRectF(9.5 + car * 33 + w * 7, 116, 4.5, 5));
    p.drawRect(QRectF(136, 101, 5, 5));
    // Headlight beam.
    QLinearGradient beam(148, 120, 164, 120);
    beam.setColorAt(0, QColor(0xff, 0xe9, 0xa0, 200));
    beam.setColorAt(1, QColor(0xff, 0xe9, 0xa0, 0));
    QPolygonF cone;
    cone << QPointF(148, 118) << QPointF(170, 110) << QPointF(170, 128);
    p.setBrush(beam);
    p.drawPolygon(cone);
    // Smoke.
    p.setBrush(QColor(0xc8, 0xc0, 0xe0, 70));
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(QPointF(112 - i * 11, 92 - i * 6), 5 + i * 1.6, 4 + i * 1.2);
}

void egretBay(QPainter &p, qreal h) {
    const qreal horizon = 112;
    fillSky(p, horizon, {{0, QColor(0xf1, 0xb8, 0xc4)}, {0.7, QColor(0xfb, 0xdc, 0xcf)}, {1, QColor(0xcf, 0xe9, 0xee)}});
    glowDisc(p, QPointF(110, horizon - 14), 14, QColor(0xff, 0xf4, 0xe0));
    QLinearGradient water(0, horizon, 0, h);
    water.setColorAt(0, QColor(0xb8, 0xdc, 0xe6));
    water.setColorAt(1, QColor(0x4c, 0x7f, 0x9a));
    p.fillRect(QRectF(0, horizon, kWidth, h - horizon), water);
    // Hills mirrored in the water.
    QPainterPath hills;
    hills.moveTo(-2, horizon);
    hills.cubicTo(20, 70, 40, 74, 62, 96);
    hills.cubicTo(78, 84, 90, 90, 100, horizon - 4);
    hills.lineTo(164, horizon - 2);
    hills.lineTo(164, horizon);
    hills.closeSubpath();
    p.fillPath(hills, QColor(0x7d, 0x8f, 0xb4));
    QTransform mirror;
    mirror.translate(0, 2 * horizon);
    mirror.scale(1, -1);
    p.fillPath(mirror.map(hills), QColor(0x7d, 0x8f, 0xb4, 90));
    // The egret and its reflection.
    auto egret = [&](const QTransform &t, int alpha) {
        p.save();
        p.setTransform(t, true);
        const QColor white(255, 255, 255, alpha);
        p.setPen(QPen(QColor(0x55, 0x5f, 0x70, alpha), 1.1));
        p.drawLine(QPointF(104, horizon - 2), QPointF(106, horizon - 16));
        p.drawLine(QPointF(110, horizon - 2), QPointF(108, horizon - 16));
        p.setPen(Qt::NoPen);
        QPainterPath bird;
        bird.moveTo(96, horizon - 24);
        bird.cubicTo(100, horizon - 34, 116, horizon - 32, 122, horizon - 22);
        bird.cubicTo(114, horizon - 14, 102, horizon - 14, 96, horizon - 24);
        p.fillPath(bird, white);
        QPainterPath neck;
        neck.moveTo(116, horizon - 28);
        neck.cubicTo(126, horizon - 40, 112, horizon - 48, 118, horizon - 58);
        p.setPen(QPen(white, 3.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(neck);
        p.setPen(Qt::NoPen);
        p.setBrush(white);
        p.drawEllipse(QPointF(119, horizon - 59), 3.2, 2.6);
        p.setPen(QPen(QColor(0xf0, 0xb0, 0x40, alpha), 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(121.5, horizon - 59), QPointF(130, horizon - 57));
        p.restore();
    };
    egret(QTransform(), 255);
    egret(mirror, 90);
    // Ripples break the reflection.
    p.setPen(QPen(QColor(255, 255, 255, 110), 1));
    for (int i = 0; i < 9; ++i) {
        const qreal y = horizon + 8 + i * 11;
        p.drawLine(QPointF(20 + (i * 37) % 90, y), QPointF(44 + (i * 37) % 90, y));
    }
}

void sleepingCastle(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0x10, 0x26, 0x24)}, {0.6, QColor(0x3f, 0x6e, 0x60)}, {1, QColor(0x5d, 0x8a, 0x73)}});
    stars(p, 7, 40, QRectF(0, 0, kWidth, 90), 180);
    // Crescent.
    drawCrescent(p, QPointF(40, 44), 14, QPointF(6, -4), QColor(0xf3, 0xe8, 0xc0));
    const QColor stone(0x0c, 0x1c, 0x1b);
    // Cliff.
    QPainterPath cliff;
    cliff.moveTo(-2, h);
    cliff.lineTo(-2, 140);
    cliff.lineTo(40, 134);
    cliff.lineTo(150, 132);
    cliff.lineTo(164, 150);
    cliff.lineTo(164, h);
    cliff.closeSubpath();
    p.fillPath(cliff, stone);
    p.setPen(Qt::NoPen);
    p.setBrush(stone);
    auto tower = [&](qreal x, qreal top, qreal width) {
        p.drawRect(QRectF(x, top, width, 140 - top));
        QPolygonF roof;
        roof << QPointF(x - 3, top) << QPointF(x + width / 2, top - width * 1.5) << QPointF(x + width + 3, top);
        p.drawPolygon(roof);
    };
    p.drawRect(QRectF(52, 100, 78, 36));
    for (qreal x = 52; x < 128; x += 8)
        p.drawRect(QRectF(x, 95, 5, 6));
    tower(40, 92, 16);
    tower(82, 66, 20);
    tower(124, 86, 14);
    tower(66, 84, 12);
    // A few faintly lit windows.
    p.setBrush(QColor(0xe9, 0xd8, 0xa6, 220));
    for (QPointF w : {QPointF(89, 80), QPointF(46, 104), QPointF(98, 112), QPointF(128, 100)})
        p.drawRoundedRect(QRectF(w, QSizeF(4, 6)), 2, 2);
    // Thorny hedge along the cliff.
    p.setPen(QPen(QColor(0x1d, 0x3a, 0x2e), 1.4));
    for (qreal x = 0; x < kWidth; x += 6)
        p.drawLine(QPointF(x, 142), QPointF(x + 4, 134 + ((int(x) / 6) % 3) * 2));
    fogBand(p, 120, 40, 70, QColor(0xc8, 0xe0, 0xd2));
}

void amberTestimony(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0x3a, 0x22, 0x10)}, {0.55, QColor(0x8a, 0x52, 0x1a)}, {1, QColor(0x4a, 0x2a, 0x10)}});
    QRadialGradient lamp(QPointF(100, 70), 110);
    lamp.setColorAt(0, QColor(0xff, 0xc4, 0x6b, 110));
    lamp.setColorAt(1, QColor(0xff, 0xc4, 0x6b, 0));
    p.fillRect(QRectF(0, 0, kWidth, h), lamp);
    // A written statement, tilted.
    p.save();
    p.translate(70, 96);
    p.rotate(-9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRect(QRectF(-40, -52, 80, 108));
    p.setBrush(QColor(0xf6, 0xe6, 0xc4));
    p.drawRect(QRectF(-43, -56, 80, 108));
    p.setBrush(QColor(0x9b, 0x7d, 0x58));
    p.drawRect(QRectF(-35, -48, 40, 4));
    for (int i = 0; i < 9; ++i)
        p.drawRect(QRectF(-35, -36 + i * 8, i % 3 == 2 ? 42 : 62, 2.2));
    p.setPen(QPen(QColor(0x7a, 0x2a, 0x1a), 1.2));
    QPainterPath signature;
    signature.moveTo(-4, 40);
    signature.cubicTo(2, 30, 8, 46, 14, 36);
    signature.cubicTo(18, 30, 22, 44, 28, 38);
    p.setBrush(Qt::NoBrush);
    p.drawPath(signature);
    p.restore();
    // Magnifier enlarging part of the page.
    const QPointF lens(108, 78);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xd5, 0x8a, 70));
    p.drawEllipse(lens, 30, 30);
    p.setPen(QPen(QColor(0x2a, 0x16, 0x08), 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(lens + QPointF(22, 22), lens + QPointF(44, 50));
    p.setPen(QPen(QColor(0xc8, 0x8a, 0x2c), 4.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(lens, 30, 30);
    p.setPen(QPen(QColor(255, 255, 255, 150), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(lens - QPointF(22, 22), QSizeF(44, 44)), 110 * 16, 50 * 16);
    // Fingerprint inside the lens.
    p.setPen(QPen(QColor(0x7a, 0x4a, 0x1a, 170), 1));
    for (int i = 1; i <= 5; ++i)
        p.drawArc(QRectF(lens.x() - 4 - i * 3, lens.y() - 2 - i * 3.6, 8 + i * 6, 6 + i * 7.2), 20 * 16,
                  300 * 16);
}

void foggyLighthouse(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0x26, 0x36, 0x4a)}, {0.65, QColor(0x6d, 0x84, 0x9c)}, {1, QColor(0x8c, 0x9f, 0xb3)}});
    // Beam from the lamp.
    QLinearGradient beam(52, 0, 164, 0);
    beam.setColorAt(0, QColor(0xff, 0xf1, 0xa8, 170));
    beam.setColorAt(1, QColor(0xff, 0xf1, 0xa8, 0));
    QPolygonF cone;
    cone << QPointF(52, 66) << QPointF(170, 30) << QPointF(170, 96);
    p.setPen(Qt::NoPen);
    p.setBrush(beam);
    p.drawPolygon(cone);
    QLinearGradient back(52, 0, 0, 0);
    back.setColorAt(0, QColor(0xff, 0xf1, 0xa8, 120));
    back.setColorAt(1, QColor(0xff, 0xf1, 0xa8, 0));
    QPolygonF backCone;
    backCone << QPointF(52, 66) << QPointF(-4, 52) << QPointF(-4, 78);
    p.setBrush(back);
    p.drawPolygon(backCone);
    fogBand(p, 30, 50, 60);
    // Sea.
    QLinearGradient sea(0, 150, 0, h);
    sea.setColorAt(0, QColor(0x2a, 0x3c, 0x50));
    sea.setColorAt(1, QColor(0x12, 0x1c, 0x28));
    p.fillRect(QRectF(0, 150, kWidth, h), sea);
    // Rocks.
    QPainterPath rocks;
    rocks.moveTo(10, 160);
    rocks.lineTo(22, 142);
    rocks.lineTo(40, 138);
    rocks.lineTo(72, 140);
    rocks.lineTo(86, 152);
    rocks.lineTo(96, 162);
    rocks.closeSubpath();
    p.fillPath(rocks, QColor(0x16, 0x20, 0x2c));
    // Tower with red bands.
    QPolygonF tower;
    tower << QPointF(42, 140) << QPointF(46, 74) << QPointF(58, 74) << QPointF(62, 140);
    p.setBrush(QColor(0xee, 0xec, 0xe6));
    p.drawPolygon(tower);
    p.save();
    p.setClipRegion(QRegion(tower.toPolygon()));
    p.setBrush(QColor(0xc0, 0x3a, 0x32));
    for (qreal y = 84; y < 140; y += 22)
        p.drawRect(QRectF(30, y, 40, 10));
    p.restore();
    p.setBrush(QColor(0x1c, 0x24, 0x30));
    p.drawRect(QRectF(43, 72, 18, 3));
    p.drawRect(QRectF(46, 58, 12, 2));
    QPolygonF cap;
    cap << QPointF(45, 58) << QPointF(52, 50) << QPointF(59, 58);
    p.drawPolygon(cap);
    glowDisc(p, QPointF(52, 66), 5.5, QColor(0xff, 0xf1, 0xa8), 3);
    p.setPen(QPen(QColor(0x1c, 0x24, 0x30), 1));
    p.drawLine(QPointF(48, 60), QPointF(48, 72));
    p.drawLine(QPointF(56, 60), QPointF(56, 72));
    fogBand(p, 118, 50, 120, QColor(0xc4, 0xd2, 0xe0));
    p.setPen(QPen(QColor(0xb0, 0xc4, 0xd6, 80), 1));
    for (int row = 0; row < 5; ++row)
        for (qreal x = (row % 2) * 16; x < kWidth; x += 32)
            p.drawArc(QRectF(x, 166 + row * 10, 16, 5), 0, 180 * 16);
}

void vanishingWheel(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0x5a, 0x34, 0x8c)}, {0.45, QColor(0xe8, 0x74, 0x78)}, {0.75, QColor(0xff, 0xb0, 0x7a)}, {1, QColor(0xff, 0xd2, 0x9c)}});
    glowDisc(p, QPointF(40, 120), 22, QColor(0xff, 0xe0, 0xa3), 2.4);
    const QPointF hub(94, 94);
    const qreal radius = 50;
    const QColor frame(0x3a, 0x1f, 0x4e);
    // Support legs.
    p.setPen(QPen(frame, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(hub, QPointF(70, 162));
    p.drawLine(hub, QPointF(118, 162));
    // Rim and spokes fade away on the left side, as if the wheel were dissolving.
    for (int i = 0; i < 12; ++i) {
        const qreal a = i * M_PI / 6;
        const QPointF end = hub + QPointF(std::cos(a), std::sin(a)) * radius;
        const int alpha = std::cos(a) > 0 ? 255 : int(255 * std::pow(1 + std::cos(a), 1.6));
        p.setPen(QPen(withAlpha(frame, alpha), 1.2));
        p.drawLine(hub, end);
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(QColor(0xff, 0xe0, 0xa3), alpha));
        p.drawRoundedRect(QRectF(end + QPointF(-4.5, 0), QSizeF(9, 8)), 2, 2);
    }
    for (int seg = 0; seg < 36; ++seg) {
        const qreal a0 = seg * 10.0;
        const qreal cosMid = std::cos(qDegreesToRadians(a0 + 5));
        const int alpha = cosMid > 0 ? 255 : int(255 * std::pow(1 + cosMid, 1.6));
        p.setPen(QPen(withAlpha(frame, alpha), 2.4));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(hub - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius)), int(-a0 * 16), -160);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(frame);
    p.drawEllipse(hub, 5, 5);
    // Particles drifting off the vanished half.
    QRandomGenerator random(10);
    for (int i = 0; i < 40; ++i) {
        const qreal a = M_PI / 2 + random.bounded(M_PI);
        const qreal r = radius + random.bounded(24.0) - 8;
        const QPointF at = hub + QPointF(std::cos(a) * r - random.bounded(16.0), std::sin(a) * r);
        p.setBrush(QColor(0xff, 0xf0, 0xd0, 60 + random.bounded(150)));
        const qreal s = 0.6 + random.bounded(1.4);
        p.drawRect(QRectF(at, QSizeF(s, s)));
    }
    // City skyline.
    QRandomGenerator city(99);
    p.setBrush(QColor(0x2e, 0x18, 0x40));
    for (qreal x = -2; x < kWidth; ) {
        const qreal w = 8 + city.bounded(12.0), top = 140 + city.bounded(26.0);
        p.drawRect(QRectF(x, top, w, h));
        x += w;
    }
    p.setBrush(QColor(0xff, 0xd0, 0x80, 160));
    for (int i = 0; i < 26; ++i)
        p.drawRect(QRectF(city.bounded(160.0), 158 + city.bounded(40.0), 1.8, 2.2));
}

void snowCode(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0x7d, 0xa9, 0xd2)}, {0.5, QColor(0xc9, 0xe0, 0xf3)}, {1, QColor(0xe9, 0xf3, 0xfb)}});
    // Mountains with shaded sides.
    auto peak = [&](qreal x, qreal top, qreal half, qreal base) {
        QPolygonF lit, shade;
        lit << QPointF(x - half, base) << QPointF(x, top) << QPointF(x, base);
        shade << QPointF(x, top) << QPointF(x + half, base) << QPointF(x, base);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xf7, 0xfb, 0xff));
        p.drawPolygon(lit);
        p.setBrush(QColor(0xb4, 0xcb, 0xe3));
        p.drawPolygon(shade);
    };
    peak(120, 44, 60, 120);
    peak(40, 62, 56, 120);
    peak(84, 84, 40, 120);
    QLinearGradient field(0, 112, 0, h);
    field.setColorAt(0, QColor(0xe6, 0xf0, 0xfa));
    field.setColorAt(1, QColor(0xcf, 0xdf, 0xee));
    p.fillRect(QRectF(0, 116, kWidth, h), field);
    for (qreal x : {14.0, 22.0, 134.0, 146.0, 152.0})
        pine(p, x, 126 + (int(x) % 3), 14 + (int(x) % 5), QColor(0x3d, 0x5a, 0x6e));
    // Footprints that write a message in dots and dashes.
    p.setPen(Qt::NoPen);
    const char *code = ".-..-.--.-..";
    for (int i = 0; code[i]; ++i) {
        const qreal t = i / 12.0;
        const QPointF at(30 + t * 110, 190 - t * 58 + std::sin(t * 6) * 6);
        p.setBrush(QColor(0x5b, 0x7e, 0xa6, 200));
        if (code[i] == '.')
            p.drawEllipse(at, 2.4, 2.0);
        else
            p.drawRoundedRect(QRectF(at - QPointF(5, 1.8), QSizeF(10, 3.6)), 1.8, 1.8);
    }
    // Falling snow.
    QRandomGenerator random(11);
    for (int i = 0; i < 70; ++i) {
        p.setBrush(QColor(255, 255, 255, 150 + random.bounded(100)));
        const qreal r = 0.6 + random.bounded(1.4);
        p.drawEllipse(QPointF(random.bounded(kWidth), random.bounded(h)), r, r);
    }
}

void sakuraSlope(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0xf7, 0xb6, 0xc8)}, {0.6, QColor(0xfd, 0xdf, 0xe4)}, {1, QColor(0xfb, 0xee, 0xe6)}});
    rooftops(p, 12, 120, -4, 170, QColor(0xc7, 0x8e, 0xa8), QColor(0xff, 0xf2, 0xc8));
    // The slope road going up to the right.
    QPainterPath road;
    road.moveTo(-2, h);
    road.lineTo(-2, 190);
    road.lineTo(164, 128);
    road.lineTo(164, h);
    road.closeSubpath();
    p.fillPath(road, QColor(0x9a, 0x7f, 0x9e));
    QPainterPath pavement;
    pavement.moveTo(-2, 196);
    pavement.lineTo(164, 134);
    p.setPen(QPen(QColor(0xe8, 0xd8, 0xe8), 1.4, Qt::DashLine));
    p.drawPath(pavement);
    // Cherry trees.
    auto tree = [&](qreal x, qreal baseY, qreal size, int seed) {
        p.setPen(QPen(QColor(0x5b, 0x3a, 0x48), size * 0.16, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, baseY), QPointF(x, baseY - size * 0.9));
        p.drawLine(QPointF(x, baseY - size * 0.6), QPointF(x - size * 0.35, baseY - size * 1.0));
        QRandomGenerator random(seed);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 16; ++i) {
            const QPointF c(x + random.bounded(size * 1.4) - size * 0.7,
                            baseY - size * 1.0 + random.bounded(size * 0.8) - size * 0.4);
            p.setBrush(i % 3 ? QColor(0xf4, 0x9a, 0xb8, 220) : QColor(0xff, 0xd0, 0xdf, 230));
            const qreal r = size * (0.18 + random.bounded(0.12));
            p.drawEllipse(c, r, r);
        }
    };
    tree(30, 168, 42, 1);
    tree(112, 138, 36, 2);
    tree(150, 128, 24, 3);
    // A folded note with a hidden message lying on the road.
    p.save();
    p.translate(86, 170);
    p.rotate(-18);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xfb, 0xf2));
    p.drawRect(QRectF(-11, -8, 22, 16));
    p.setPen(QPen(QColor(0xe7, 0x54, 0x80), 1.2));
    p.drawLine(QPointF(-7, -3), QPointF(7, -3));
    p.drawLine(QPointF(-7, 1), QPointF(3, 1));
    p.drawLine(QPointF(-7, 5), QPointF(5, 5));
    p.restore();
    // Petals in the air.
    QRandomGenerator random(12);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 36; ++i) {
        p.save();
        p.translate(random.bounded(kWidth), random.bounded(h));
        p.rotate(random.bounded(180));
        p.setBrush(QColor(0xf0, 0x7a, 0xa0, 120 + random.bounded(120)));
        p.drawEllipse(QPointF(0, 0), 2.6, 1.4);
        p.restore();
    }
}

void windChimeThief(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0x0b, 0x24, 0x2c)}, {0.7, QColor(0x1f, 0x55, 0x61)}, {1, QColor(0x2d, 0x6b, 0x74)}});
    stars(p, 13, 50, QRectF(0, 0, kWidth, 120));
    glowDisc(p, QPointF(104, 80), 36, QColor(0xf2, 0xf4, 0xe4), 1.8);
    const QColor dark(0x06, 0x14, 0x1a);
    // Rooftop and the thief against the moon.
    QPainterPath roof;
    roof.moveTo(-2, h);
    roof.lineTo(-2, 160);
    roof.lineTo(70, 132);
    roof.lineTo(164, 152);
    roof.lineTo(164, h);
    roof.closeSubpath();
    p.fillPath(roof, dark);
    p.setPen(Qt::NoPen);
    p.setBrush(dark);
    p.drawRect(QRectF(40, 116, 8, 28));
    // Cape billowing.
    QPainterPath cape;
    cape.moveTo(100, 84);
    cape.cubicTo(126, 92, 138, 110, 146, 128);
    cape.lineTo(132, 122);
    cape.lineTo(136, 134);
    cape.lineTo(120, 126);
    cape.cubicTo(112, 118, 104, 106, 100, 96);
    p.fillPath(cape, dark);
    p.drawRoundedRect(QRectF(94, 84, 12, 28), 4, 4);
    p.drawRect(QRectF(95, 110, 4, 26));
    QPolygonF leg;
    leg << QPointF(101, 110) << QPointF(106, 110) << QPointF(112, 135) << QPointF(107, 136);
    p.drawPolygon(leg);
    p.drawEllipse(QPointF(100, 78), 5.5, 5.5);
    p.drawRect(QRectF(92, 72, 16, 2.2));
    p.drawRect(QRectF(95, 62, 10, 11));
    p.setBrush(QColor(0xe8, 0x4b, 0x5a));
    p.drawRect(QRectF(95, 70, 10, 2));
    // Monocle glint.
    sparkle(p, QPointF(102, 78), 3, QColor(255, 255, 255, 220));
    // Wind chime hanging from the top left.
    p.setPen(QPen(QColor(0xcf, 0xe8, 0xe8, 200), 0.8));
    p.drawLine(QPointF(34, 0), QPointF(34, 30));
    QPainterPath bell;
    bell.moveTo(24, 44);
    bell.cubicTo(24, 26, 44, 26, 44, 44);
    bell.closeSubpath();
    p.setPen(QPen(QColor(255, 255, 255, 200), 0.8));
    p.setBrush(QColor(0xb8, 0xee, 0xf0, 120));
    p.drawPath(bell);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0x4b, 0x5a, 220));
    p.drawEllipse(QPointF(31, 37), 2.5, 2);
    p.drawEllipse(QPointF(38, 38), 1.8, 1.6);
    p.setPen(QPen(QColor(0xcf, 0xe8, 0xe8, 200), 0.8));
    p.drawLine(QPointF(34, 44), QPointF(36, 56));
    QPolygonF strip;
    strip << QPointF(31, 56) << QPointF(41, 56) << QPointF(44, 80) << QPointF(34, 80);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xfa, 0xf2, 0xde));
    p.drawPolygon(strip);
    p.setBrush(QColor(0xe8, 0x4b, 0x5a));
    p.drawRect(QRectF(34.5, 60, 5, 5));
    // Wind lines.
    p.setPen(QPen(QColor(0xcf, 0xe8, 0xe8, 110), 1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i)
        p.drawArc(QRectF(52 + i * 6, 46 + i * 10, 28, 10), 200 * 16, 140 * 16);
}

void auroraChase(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0x03, 0x0b, 0x1a)}, {0.65, QColor(0x0e, 0x2a, 0x3f)}, {1, QColor(0x1a, 0x3d, 0x52)}});
    stars(p, 14, 80, QRectF(0, 0, kWidth, 140));
    // Curtains of light.
    auto curtain = [&](qreal y, qreal amplitude, const QColor &top, const QColor &bottom, qreal phase) {
        for (qreal x = -4; x < kWidth + 4; x += 1.5) {
            const qreal base = y + std::sin(x / 22 + phase) * amplitude;
            QLinearGradient ray(0, base - 46, 0, base);
            ray.setColorAt(0, withAlpha(top, 0));
            ray.setColorAt(0.7, withAlpha(top, 60));
            ray.setColorAt(1, withAlpha(bottom, 110));
            p.fillRect(QRectF(x, base - 46, 1.6, 46), ray);
        }
    };
    curtain(74, 12, QColor(0x9b, 0x6d, 0xff), QColor(0x6d, 0xff, 0xb0), 0.3);
    curtain(104, 9, QColor(0x4d, 0xd9, 0xd0), QColor(0x6d, 0xff, 0xb0), 2.1);
    // Snow hills and pines.
    ridge(p, 141, 150, 14, 34, h, QColor(0x9f, 0xb8, 0xcc));
    ridge(p, 142, 172, 10, 40, h, QColor(0xd8, 0xe6, 0xf0));
    for (qreal x : {12.0, 24.0, 132.0, 146.0, 156.0})
        pine(p, x, 158 + int(x) % 4, 20 + int(x) % 7, QColor(0x0a, 0x1c, 0x28));
    // Footprints leading to a figure with a lantern.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7a, 0x96, 0xac));
    for (int i = 0; i < 9; ++i)
        p.drawEllipse(QPointF(44 + i * 6 + (i % 2) * 2, 170 - i * 2.2), 1.6, 1.1);
    p.setBrush(QColor(0x0a, 0x1c, 0x28));
    p.drawEllipse(QPointF(102, 141), 3, 3);
    p.drawRoundedRect(QRectF(98.5, 144, 7, 13), 3, 3);
    glowDisc(p, QPointF(108, 151), 1.8, QColor(0xff, 0xd9, 0x7a), 4);
}

void redEnvelope(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0x2e, 0x06, 0x0a)}, {0.5, QColor(0x6e, 0x12, 0x1b)}, {1, QColor(0x3a, 0x07, 0x0d)}});
    // Faint question marks scattered behind.
    QRandomGenerator random(15);
    p.setFont(serifFont(18, true));
    for (int i = 0; i < 16; ++i) {
        p.setPen(QColor(0xff, 0xd2, 0x7a, 18 + random.bounded(30)));
        p.drawText(QPointF(random.bounded(150.0), 20 + random.bounded(170.0)), QStringLiteral("?"));
    }
    p.save();
    p.translate(81, 98);
    p.rotate(-8);
    const QRectF body(-54, -34, 108, 70);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(body.translated(3, 5), 3, 3);
    QLinearGradient paper(0, body.top(), 0, body.bottom());
    paper.setColorAt(0, QColor(0xd8, 0x2a, 0x36));
    paper.setColorAt(1, QColor(0xa8, 0x16, 0x22));
    p.setBrush(paper);
    p.drawRoundedRect(body, 3, 3);
    QPolygonF lower;
    lower << body.bottomLeft() << QPointF(0, 4) << body.bottomRight();
    p.setBrush(QColor(0xb8, 0x1c, 0x28));
    p.drawPolygon(lower);
    QPolygonF flap;
    flap << body.topLeft() << QPointF(0, 10) << body.topRight();
    p.setBrush(QColor(0xe8, 0x3c, 0x46));
    p.drawPolygon(flap);
    p.setPen(QPen(QColor(0x8a, 0x10, 0x1a), 0.8));
    p.drawLine(body.topLeft(), QPointF(0, 10));
    p.drawLine(QPointF(0, 10), body.topRight());
    // Wax seal with a question mark.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xc1, 0x4e));
    p.drawEllipse(QPointF(0, 10), 11, 11);
    p.setBrush(QColor(0xd9, 0xa0, 0x30));
    p.drawEllipse(QPointF(0, 10), 8, 8);
    p.setFont(serifFont(13, true));
    p.setPen(QColor(0x7a, 0x10, 0x14));
    p.drawText(QRectF(-8, 1, 16, 18), Qt::AlignCenter, QStringLiteral("?"));
    p.restore();
    sparkle(p, QPointF(128, 52), 5, QColor(0xff, 0xe0, 0xa0, 220));
    sparkle(p, QPointF(30, 150), 3.5, QColor(0xff, 0xe0, 0xa0, 180));
}

void glassMaze(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0x08, 0x26, 0x30)}, {0.6, QColor(0x1a, 0x76, 0x86)}, {1, QColor(0x0c, 0x3a, 0x46)}});
    // A maze seen from above, turned on its corner.
    p.save();
    p.translate(81, 100);
    p.scale(1, 0.62);
    p.rotate(45);
    const int cells = 7;
    const qreal cell = 14, half = cells * cell / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb8, 0xfb, 0xff, 30));
    p.drawRect(QRectF(-half, -half, 2 * half, 2 * half));
    // Walls from a fixed pattern: each cell keeps its right or bottom wall.
    QRandomGenerator random(16);
    p.setPen(QPen(QColor(0xb8, 0xfb, 0xff, 210), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawRect(QRectF(-half, -half, 2 * half, 2 * half));
    for (int r = 0; r < cells; ++r)
        for (int c = 0; c < cells; ++c) {
            const qreal x = -half + c * cell, y = -half + r * cell;
            if (r == cells / 2 && c == cells / 2)
                continue;
            if (random.bounded(2))
                p.drawLine(QPointF(x + cell, y), QPointF(x + cell, y + cell));
            else
                p.drawLine(QPointF(x, y + cell), QPointF(x + cell, y + cell));
        }
    p.restore();
    // Glass panes standing up along a few walls.
    p.setPen(QPen(QColor(255, 255, 255, 160), 0.8));
    for (QPointF base : {QPointF(50, 92), QPointF(112, 92), QPointF(81, 66), QPointF(81, 128)}) {
        QLinearGradient glass(base.x(), base.y() - 30, base.x(), base.y());
        glass.setColorAt(0, QColor(0xb8, 0xfb, 0xff, 20));
        glass.setColorAt(1, QColor(0xb8, 0xfb, 0xff, 90));
        p.setBrush(glass);
        p.drawRect(QRectF(base.x() - 10, base.y() - 30, 20, 30));
    }
    // The prisoner in the middle.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x03, 0x12, 0x18));
    p.drawEllipse(QPointF(81, 88), 3.2, 3.2);
    p.drawRoundedRect(QRectF(77.5, 91.5, 7, 12), 3, 3);
    glowDisc(p, QPointF(81, 106), 1.5, QColor(0xb8, 0xfb, 0xff), 6);
    sparkle(p, QPointF(40, 40), 5, QColor(255, 255, 255, 200));
    sparkle(p, QPointF(128, 150), 4, QColor(255, 255, 255, 170));
}

void duskConcerto(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0x7b, 0x3f, 0x61)}, {0.45, QColor(0xf4, 0x84, 0x5f)}, {0.8, QColor(0xf7, 0xb2, 0x67)}, {1, QColor(0xf9, 0xd0, 0x8a)}});
    glowDisc(p, QPointF(110, 132), 28, QColor(0xff, 0xf0, 0xc9), 2);
    ridge(p, 171, 168, 12, 30, h, QColor(0x5a, 0x2a, 0x46));
    // Music staff sweeping across.
    p.setPen(QPen(QColor(0xff, 0xf0, 0xc9, 150), 0.9));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 5; ++i) {
        QPainterPath line;
        line.moveTo(-4, 50 + i * 5);
        line.cubicTo(50, 20 + i * 5, 100, 90 + i * 5, 166, 40 + i * 5);
        p.drawPath(line);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xf0, 0xc9, 220));
    for (QPointF note : {QPointF(22, 46), QPointF(58, 54), QPointF(98, 64), QPointF(138, 54)}) {
        p.save();
        p.translate(note);
        p.rotate(-20);
        p.drawEllipse(QPointF(0, 0), 3.6, 2.6);
        p.restore();
        p.fillRect(QRectF(note.x() + 2.6, note.y() - 15, 1.1, 15), QColor(0xff, 0xf0, 0xc9, 220));
    }
    // Violin silhouette, tilted.
    p.save();
    p.translate(62, 124);
    p.rotate(-32);
    const QColor wood(0x3a, 0x18, 0x2c);
    QPainterPath body;
    body.moveTo(0, -34);
    body.cubicTo(16, -34, 18, -22, 11, -14);
    body.cubicTo(8, -10, 8, -6, 12, -2);
    body.cubicTo(22, 8, 18, 30, 0, 30);
    body.cubicTo(-18, 30, -22, 8, -12, -2);
    body.cubicTo(-8, -6, -8, -10, -11, -14);
    body.cubicTo(-18, -22, -16, -34, 0, -34);
    p.fillPath(body, wood);
    p.fillRect(QRectF(-2.5, -78, 5, 46), wood);
    p.setBrush(wood);
    p.drawEllipse(QPointF(0, -80), 4, 5);
    p.setPen(QPen(QColor(0xf9, 0xd0, 0x8a, 160), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-9, -6, 5, 12), 60 * 16, 240 * 16);
    p.drawArc(QRectF(4, -6, 5, 12), -120 * 16, 240 * 16);
    p.restore();
    // Bow.
    p.setPen(QPen(QColor(0x3a, 0x18, 0x2c), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(22, 98), QPointF(118, 150));
}

void fallingStars(QPainter &p, qreal h) {
    fillSky(p, h, {{0, QColor(0x12, 0x08, 0x2a)}, {0.5, QColor(0x3c, 0x1f, 0x5c)}, {1, QColor(0x7a, 0x44, 0x82)}});
    stars(p, 18, 120, QRectF(0, 0, kWidth, 170));
    QRandomGenerator random(181);
    for (int i = 0; i < 11; ++i) {
        const QPointF head(20 + random.bounded(150.0), 10 + random.bounded(110.0));
        const qreal length = 18 + random.bounded(30.0);
        const QPointF tail = head + QPointF(-length * 0.8, -length * 0.6);
        QLinearGradient trail(tail, head);
        trail.setColorAt(0, QColor(255, 255, 255, 0));
        trail.setColorAt(1, QColor(0xff, 0xe9, 0xa8, 230));
        p.setPen(QPen(QBrush(trail), 1.1 + random.bounded(0.8), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(tail, head);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 250, 230));
        p.drawEllipse(head, 1.2, 1.2);
    }
    // Hill with a lone tree and a small watcher.
    QPainterPath hill;
    hill.moveTo(-2, h);
    hill.lineTo(-2, 170);
    hill.cubicTo(40, 150, 90, 142, 164, 164);
    hill.lineTo(164, h);
    hill.closeSubpath();
    p.fillPath(hill, QColor(0x1a, 0x0f, 0x2b));
    p.setPen(QPen(QColor(0x1a, 0x0f, 0x2b), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(118, 154), QPointF(118, 124));
    p.drawLine(QPointF(118, 136), QPointF(108, 126));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1a, 0x0f, 0x2b));
    p.drawEllipse(QPointF(118, 118), 14, 11);
    p.drawEllipse(QPointF(108, 124), 8, 7);
    p.drawEllipse(QPointF(128, 124), 8, 6);
    p.drawEllipse(QPointF(62, 143), 2.4, 2.4);
    p.drawRoundedRect(QRectF(59.5, 145.5, 5, 9), 2, 2);
    // Town lights far below.
    p.setBrush(QColor(0xff, 0xd8, 0x8a, 170));
    for (int i = 0; i < 14; ++i)
        p.drawEllipse(QPointF(6 + random.bounded(60.0), 176 + random.bounded(20.0)), 0.9, 0.9);
}

using Scene = std::function<void(QPainter &, qreal)>;

struct PosterDesign {
    Scene scene;
    QColor accent;
};

const PosterDesign &design(int number) {
    static const PosterDesign designs[] = {
        {clockTower, QColor(0xe0, 0xa8, 0x30)},      {ghostShip, QColor(0x3e, 0x9a, 0x8c)},
        {observatory, QColor(0xe0, 0xb0, 0x3a)},     {sapphireEye, QColor(0x3f, 0x7b, 0xff)},
        {midnightTrain, QColor(0xe8, 0x9c, 0x2e)},   {egretBay, QColor(0xe0, 0x6c, 0x8a)},
        {sleepingCastle, QColor(0x4f, 0x9a, 0x76)},  {amberTestimony, QColor(0xd9, 0x8a, 0x22)},
        {foggyLighthouse, QColor(0xc0, 0x3a, 0x32)}, {vanishingWheel, QColor(0xe8, 0x5a, 0x6e)},
        {snowCode, QColor(0x2b, 0x6c, 0xb0)},        {sakuraSlope, QColor(0xe7, 0x54, 0x80)},
        {windChimeThief, QColor(0xe8, 0x4b, 0x5a)},  {auroraChase, QColor(0x2f, 0xb8, 0x88)},
        {redEnvelope, QColor(0xd9, 0xa0, 0x30)},     {glassMaze, QColor(0x1f, 0xa8, 0xbc)},
        {duskConcerto, QColor(0xc8, 0x50, 0x50)},    {fallingStars, QColor(0x8a, 0x5c, 0xd6)},
    };
    return designs[(number - 1) % 18];
}

} // namespace

int posterHeight(int number) { return 226 + (number * 11) % 19; }

QImage poster(int number, const QString &title, int height) {
    QImage image = filledImage(int(kWidth), height, Qt::black);
    QPainter p(&image);
    prepare(p);
    const PosterDesign &d = design(number);
    d.scene(p, height);

    // The wall shows 230 rows at most: captions are placed against the visible height.
    const qreal visible = std::min<qreal>(height, 230);
    QLinearGradient shade(0, visible - 96, 0, visible);
    shade.setColorAt(0, QColor(0, 0, 0, 0));
    shade.setColorAt(0.55, QColor(0, 0, 0, 150));
    shade.setColorAt(1, QColor(0, 0, 0, 215));
    p.fillRect(QRectF(0, visible - 96, kWidth, 96), shade);
    p.fillRect(QRectF(0, visible, kWidth, height - visible), QColor(0, 0, 0, 215));
    QLinearGradient topShade(0, 0, 0, 34);
    topShade.setColorAt(0, QColor(0, 0, 0, 110));
    topShade.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(0, 0, kWidth, 34), topShade);

    // "剧场版" badge and the movie number.
    p.setFont(sansFont(10, true));
    const QString badge = QStringLiteral("剧场版");
    const qreal badgeWidth = QFontMetricsF(p.font()).horizontalAdvance(badge) + 10;
    p.setPen(Qt::NoPen);
    p.setBrush(d.accent);
    p.drawRoundedRect(QRectF(7, 7, badgeWidth, 16), 3, 3);
    p.setPen(Qt::white);
    p.drawText(QRectF(7, 7, badgeWidth, 16), Qt::AlignCenter, badge);
    p.setFont(sansFont(10));
    drawShadowedText(p, QRectF(7 + badgeWidth + 5, 7, 60, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("第%1部").arg(number), QColor(255, 255, 255, 235));
    p.setFont(serifFont(22, true));
    drawShadowedText(p, QRectF(100, 2, 55, 28), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')), QColor(255, 255, 255, 230));

    // Series name between two rules, then the title.
    p.setFont(sansFont(9));
    QString series = QStringLiteral("名 侦 探 岚 影");
    const qreal seriesWidth = QFontMetricsF(p.font()).horizontalAdvance(series);
    const qreal seriesY = visible - 54;
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(QRectF(0, seriesY - 7, kWidth, 14), Qt::AlignCenter, series);
    p.setPen(QPen(withAlpha(d.accent.lighter(130), 220), 1));
    const qreal gap = seriesWidth / 2 + 6;
    p.drawLine(QPointF(81 - gap - 22, seriesY), QPointF(81 - gap, seriesY));
    p.drawLine(QPointF(81 + gap, seriesY), QPointF(81 + gap + 22, seriesY));

    QFont titleFont = serifFont(21, true);
    while (QFontMetricsF(titleFont).horizontalAdvance(title) > kWidth - 14 && titleFont.pixelSize() > 12)
        titleFont.setPixelSize(titleFont.pixelSize() - 1);
    p.setFont(titleFont);
    drawShadowedText(p, QRectF(4, visible - 46, kWidth - 8, 32), Qt::AlignCenter, title, Qt::white, 220);
    p.fillRect(QRectF(81 - 12, visible - 12, 24, 2), d.accent);
    return image;
}

} // namespace picturegen
