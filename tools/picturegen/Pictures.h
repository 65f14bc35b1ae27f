#pragma once
// Each function draws one of the program's pictures at the size the main window expects.

#include <QImage>
#include <QString>

namespace picturegen {

QImage logo(bool highlighted);          // 128x38, transparent
QImage noPreview();                     // 160x90
QImage cross(bool dark);                // 24x24, transparent
QImage appIcon();                       // 128x128, transparent corners
QImage noResult();                      // 391x391, white
QImage bannerLogo();                    // 290x91, transparent
QImage magnifier();                     // 15x15, transparent
QImage posterOverlay();                 // 35x34, translucent
QImage playButton(bool highlighted);    // 54x54, transparent outside the circle
QImage aboutPicture();                  // 120x246

// Poster of movie `number` (1-based), 162 wide and `height` high.
QImage poster(int number, const QString &title, int height);
// The height of poster `number`: between 226 and 244, fixed per poster.
int posterHeight(int number);

} // namespace picturegen
