#include "ui/SlidePreview.h"

#include "imaging/PreviewFrames.h"
#include "net/HttpRequest.h"
#include "net/Services.h"
#include "ui/Controls.h"
#include "ui/EpisodeDetails.h"
#include "ui/Runtime.h"

#include <QMouseEvent>

#include <cmath>

namespace ui {

std::mutex previewLock;

SlidePreview::SlidePreview(const SlidePreviewControls &controls, QObject *parent) : QObject(parent), c_(controls) {
    // The bar follows the mouse without a button held; a disabled bar is not hovered (see
    // eventFilter), so the filter watches it whatever its state.
    c_.bar->setMouseTracking(true);
    c_.bar->installEventFilter(this);
    c_.picture->setMouseTracking(true);
    connect(c_.picture, &PictureBox::mouseMoved, this, &SlidePreview::onPictureMouseMoved);

    // The frame is a dark border two pixels wide around the picture, with a triangle beneath.
    const QColor border(0x3a, 0x46, 0x57);
    QPalette framePalette = c_.frame->palette();
    framePalette.setColor(QPalette::Window, border);
    c_.frame->setPalette(framePalette);
    c_.frame->setAutoFillBackground(true);
    c_.pointer->setText(QStringLiteral("\u25BC"));
    c_.pointer->setAlignment(Qt::AlignCenter);
    QFont small = c_.pointer->font();
    small.setPixelSize(14);
    c_.pointer->setFont(small);
    QPalette pointerPalette = c_.pointer->palette();
    pointerPalette.setColor(QPalette::WindowText, border);
    c_.pointer->setPalette(pointerPalette);
}

void SlidePreview::startLoader() {
    startWorker([self = QPointer<SlidePreview>(this)] { load(self); });
}

void SlidePreview::load(const QPointer<SlidePreview> &self) {
    std::lock_guard lock(previewLock);
    if (shuttingDown())
        return;
    bool alive = false;
    runOnGui([&] {
        if (!self)
            return;
        alive = true;
        self->c_.stateLabel->setText(QStringLiteral("正在加载"));
        setTextColor(self->c_.stateLabel, kPreviewLoadingColor);
    });
    if (!alive)
        return;

    const std::string page =
        net::httpRequestUtf8(std::string(net::kPptvPageAddress) + imaging::showPagePath(selectedPptvId.get()));
    const imaging::ShowPageInfo info = imaging::parseShowPage(page);
    const int frames = imaging::frameCount(info.duration);
    runOnGui([&] {
        // A bar cannot hold position 1 with a maximum below 1; such a load fails anyway and the
        // bar keeps the range the click gave it.
        if (self && frames >= 1)
            self->c_.bar->setRange(0, frames);
    });

    imaging::PreviewTiles cut = imaging::cutPreviewSheets(frames, [&](int sheet) {
        if (shuttingDown())
            return std::string();
        return net::httpRequest(std::string(net::kPptvImageAddress) + imaging::spriteSheetPath(info.spriteId, sheet));
    });
    const bool success = frames > 0 && cut.tiles.size() == static_cast<size_t>(frames);
    auto tiles = std::make_shared<const std::vector<std::string>>(std::move(cut.tiles));

    runOnGui([&] {
        if (!self)
            return;
        const SlidePreviewControls &c = self->c_;
        // Frames and maximum are replaced together, here on the GUI thread where the mouse
        // handler reads them.
        self->tiles_ = tiles;
        self->tilesMaximum_ = frames;
        if (success) {
            const int tileWidth = static_cast<int>(cut.tileWidth), tileHeight = static_cast<int>(cut.tileHeight);
            c.frame->setGeometry(c.frame->x(), static_cast<int>(c.bar->y() - cut.tileHeight - 12),
                                 static_cast<int>(cut.tileWidth + 4), static_cast<int>(cut.tileHeight + 4));
            c.picture->setGeometry(2, 2, tileWidth, tileHeight);
            c.pointer->setGeometry(c.frame->x(), c.frame->y() + c.frame->height() - 2, c.frame->width(),
                                   c.pointer->height());
            c.stateLabel->setText(toQString(imaging::timeText(info.duration)));
            setTextColor(c.stateLabel, kPreviewReadyColor);
            c.bar->setEnabled(true);
            self->ready_ = true;
        } else {
            c.stateLabel->setText(QStringLiteral("加载失败"));
            c.bar->setValue(1);
            c.bar->setEnabled(false);
            self->ready_ = false;
        }
    });
}

void SlidePreview::showBox(bool shown) {
    c_.frame->setVisible(shown);
    c_.picture->setVisible(shown);
    c_.pointer->setVisible(shown);
    if (shown) {
        c_.frame->raise();
        c_.pointer->raise();
    }
}

void SlidePreview::onBarMouseMoved(QPoint globalPosition) {
    QProgressBar *bar = c_.bar;
    const QPoint topLeft = bar->mapToGlobal(QPoint(0, 0));
    // The edges count as inside, the right and bottom ones one pixel beyond the last pixel.
    const bool outside = globalPosition.x() < topLeft.x() || globalPosition.x() > topLeft.x() + bar->width() ||
                         globalPosition.y() < topLeft.y() || globalPosition.y() > topLeft.y() + bar->height();
    if (hoverCapture) {
        if (outside) {
            releaseHoverCapture();
            showBox(false);
        }
    } else {
        bar->grabMouse();
        hoverCapture = true;
        if (ready_)
            showBox(true);
    }
    if (!ready_)
        return;
    const int x = globalPosition.x() - c_.clientArea->mapToGlobal(QPoint(0, 0)).x();
    const int k = imaging::frameAt(tilesMaximum_, bar->width(), x, bar->x());
    c_.timeLabel->setText(toQString(imaging::timeText(static_cast<long long>(k) * imaging::kSecondsPerFrame)));
    bar->setValue(k);
    c_.frame->move(static_cast<int>(std::trunc(x - c_.frame->width() / 2.0 - 4)), c_.frame->y());
    const bool held = k >= 1 && static_cast<size_t>(k) <= tiles_->size();
    c_.picture->setBackgroundPicture(held ? (*tiles_)[static_cast<size_t>(k) - 1] : std::string());
    c_.pointer->move(c_.frame->x() + 4, c_.pointer->y());
}

void SlidePreview::onPictureMouseMoved() {
    if (!hoverCapture)
        return;
    releaseHoverCapture();
    showBox(false);
}

bool SlidePreview::eventFilter(QObject *watched, QEvent *event) {
    if (watched == c_.bar && event->type() == QEvent::MouseMove) {
        if (c_.bar->isEnabled()) {
            onBarMouseMoved(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        } else if (QWidget::mouseGrabber() == c_.bar) {
            // The bar went disabled while it held the mouse: let go rather than keep it captive.
            releaseHoverCapture();
            showBox(false);
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ui
