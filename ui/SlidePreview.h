#pragma once
// The slide preview of a Mandarin episode: a loader on a worker thread fetches the episode's show
// page and sprite sheets and cuts them into one picture per frame; moving the mouse along the
// preview bar then shows the frame at that point in a small frame above the bar.

#include "ui/PictureBox.h"

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QProgressBar>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace ui {

// The main window's controls the slide preview works with.
struct SlidePreviewControls {
    QProgressBar *bar;   // 进度条1: maximum = frame count, position = hovered frame
    QLabel *stateLabel;  // 标签1: "正在加载", "加载失败" or the episode's duration
    QLabel *timeLabel;   // 标签7: time of the hovered frame
    PictureBox *frame;   // 图片框4: the frame around the preview picture
    PictureBox *picture; // 画板3: the preview picture, a child of `frame`
    QLabel *pointer;     // 透明标签1: the triangle under the frame
    QWidget *clientArea; // the window's client area: cursor positions are measured from its origin
};

// Held by a loader for the whole of its run, so loads follow one another.
extern std::mutex previewLock;

inline constexpr unsigned kPreviewLoadingColor = 255;    // red
inline constexpr unsigned kPreviewReadyColor = 0x808000; // teal

class SlidePreview : public QObject {
    Q_OBJECT
public:
    using Tiles = std::shared_ptr<const std::vector<std::string>>;

    SlidePreview(const SlidePreviewControls &controls, QObject *parent = nullptr);

    // Starts one loader on a new worker thread; it previews the episode selectedPptvId names when
    // the loader gets its turn.
    void startLoader();
    // The loader itself, on the calling thread. Does nothing once the preview is gone.
    static void load(const QPointer<SlidePreview> &self);

    // GUI thread: whether the last load succeeded, and the frames it published (frame k is
    // element k - 1) with the maximum they belong to.
    bool ready() const { return ready_; }
    Tiles tiles() const { return tiles_; }
    int tilesMaximum() const { return tilesMaximum_; }

    // Mouse handlers, GUI thread: a move over the bar (screen position) and over the picture.
    void onBarMouseMoved(QPoint globalPosition);
    void onPictureMouseMoved();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showBox(bool shown);

    SlidePreviewControls c_;
    // Replaced together, on the GUI thread, when a load ends: the mouse handler never sees frames
    // of one load with the maximum of another.
    Tiles tiles_ = std::make_shared<const std::vector<std::string>>();
    int tilesMaximum_ = 0;
    bool ready_ = false;
};

} // namespace ui
