#pragma once
// The movie page's poster wall: eighteen posters, two a row, copied from a template frame and
// scrolled under the page's scroll bar and the mouse wheel.

#include "ui/PictureBox.h"

#include <QFrame>
#include <QLabel>
#include <QObject>
#include <QScrollBar>

#include <functional>
#include <string>
#include <vector>

namespace ui {

// The main window's controls the poster wall works with.
struct PosterWallControls {
    QFrame *page;            // 外形框3, the frame of the movie page
    QScrollBar *scrollBar;   // 多功能条1
    QFrame *window;          // 外形框2, the visible window onto the wall
    QFrame *wall;            // 外形框1, the wall itself
    QFrame *templateFrame;   // 外形框_边框
    PictureBox *templatePicture; // 图片框5
    QLabel *templateCaption; // 标签9
    PictureBox *overlay;     // 图片框6
    QWidget *playButton;     // 按钮1
};

class PosterWall : public QObject {
    Q_OBJECT
public:
    static constexpr int kRows = 9, kColumns = 2, kSpacing = 16;

    PosterWall(const PosterWallControls &controls, QObject *parent = nullptr);

    // Builds the wall once: `posterBytes(n)` gives poster picture n (1-based) as image bytes and
    // `title(n)` its caption (GBK).
    void build(const std::function<std::string(int)> &posterBytes, const std::function<std::string(int)> &title);

    const std::vector<QFrame *> &posterFrames() const { return frames_; }
    const std::vector<PictureBox *> &posterPictures() const { return pictures_; }
    const std::vector<QLabel *> &posterCaptions() const { return captions_; }

    // The number of the movie whose poster last reported a mouse move; 0 at start.
    int hoveredMovie() const { return hoveredMovie_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onPosterMouseMoved(PictureBox *poster);
    void scrollTo(int position);
    void pumpWhileShown(int ms);

    PosterWallControls c_;
    std::vector<QFrame *> frames_;
    std::vector<PictureBox *> pictures_;
    std::vector<QLabel *> captions_;
    int hoveredMovie_ = 0;
};

} // namespace ui
