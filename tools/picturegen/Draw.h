#pragma once
// Small drawing helpers shared by the picture generators.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace picturegen {

// The brand colours: a deep blue, its lighter hover tone, and a warm orange accent.
inline const QColor kBrandBlue(0x1d, 0x4e, 0x89);
inline const QColor kBrandBlueLight(0x2a, 0x7f, 0xd4);
inline const QColor kAccent(0xf0, 0x8c, 0x2e);
inline const QColor kAccentLight(0xff, 0xa9, 0x4d);

QFont sansFont(qreal pixelSize, bool bold = false);
QFont serifFont(qreal pixelSize, bool bold = false);

// A blank picture: transparent (for PNG) or filled with a colour.
QImage transparentImage(int width, int height);
QImage filledImage(int width, int height, const QColor &fill);
// A painter with anti-aliasing for shapes, text and scaled pictures.
void prepare(QPainter &painter);

QColor mix(const QColor &a, const QColor &b, qreal t);
QColor withAlpha(QColor colour, int alpha);

// The program's emblem: a magnifier lens holding misty mountains, its handle in the accent colour.
void drawEmblem(QPainter &painter, QPointF centre, qreal radius, bool highlighted = false);
// A crescent moon with a soft glow: a disc with a smaller offset disc cut away.
void drawCrescent(QPainter &painter, QPointF centre, qreal radius, QPointF cutOffset, const QColor &colour);
// A five-pointed star.
void drawStar(QPainter &painter, QPointF centre, qreal outer, qreal inner, const QColor &fill);
// Text drawn with a soft dark shadow below it, centred in a rectangle.
void drawShadowedText(QPainter &painter, const QRectF &rect, int flags, const QString &text,
                      const QColor &colour, int shadowAlpha = 150);

bool savePng(const QImage &image, const QString &path);
// Saves a JPEG; when padTo is larger than the encoded size, a comment segment fills the file up
// to exactly padTo bytes.
bool saveJpeg(const QImage &image, const QString &path, int quality = 85, qsizetype padTo = 0);

} // namespace picturegen
