#include "ui/PosterWall.h"

#include "ui/Controls.h"
#include "ui/Runtime.h"

#include <QWheelEvent>

namespace ui {
namespace {

// A new control with the template's look: its size, palette, font, alignment and wrapping.
QFrame *copyFrame(const QFrame *from) {
    auto *copy = new QFrame;
    copy->setObjectName(from->objectName());
    copy->setFrameShape(from->frameShape());
    copy->setPalette(from->palette());
    copy->setAutoFillBackground(from->autoFillBackground());
    copy->resize(from->size());
    return copy;
}

PictureBox *copyPicture(const PictureBox *from) {
    auto *copy = new PictureBox(nullptr, from->fit());
    copy->setObjectName(from->objectName());
    copy->setPalette(from->palette());
    copy->setAutoFillBackground(from->autoFillBackground());
    copy->resize(from->size());
    return copy;
}

QLabel *copyLabel(const QLabel *from) {
    auto *copy = new QLabel(from->text());
    copy->setObjectName(from->objectName());
    copy->setPalette(from->palette());
    copy->setFont(from->font());
    copy->setAlignment(from->alignment());
    copy->setWordWrap(from->wordWrap());
    copy->setFocusPolicy(from->focusPolicy());
    copy->resize(from->size());
    return copy;
}

} // namespace

PosterWall::PosterWall(const PosterWallControls &controls, QObject *parent) : QObject(parent), c_(controls) {
    connect(c_.scrollBar, &QScrollBar::valueChanged, this, &PosterWall::scrollTo);
    c_.scrollBar->installEventFilter(this);
    c_.wall->installEventFilter(this);
}

void PosterWall::build(const std::function<std::string(int)> &posterBytes,
                       const std::function<std::string(int)> &title) {
    // The overlay and its play button wait inside the hidden template picture until a poster is
    // hovered.
    c_.overlay->setParent(c_.templatePicture);
    c_.playButton->setParent(c_.overlay);
    frames_.clear();
    pictures_.clear();
    captions_.clear();
    c_.templateFrame->setGeometry(kSpacing, kSpacing, 164, 272);
    c_.overlay->setGeometry(0, 0, 162, 230);
    c_.playButton->resize(54, 54);
    c_.playButton->move((162 - c_.playButton->width()) / 2, (230 - c_.playButton->height()) / 2);

    const QRect frameTemplate = c_.templateFrame->geometry();
    for (int i = 1; i <= kRows; ++i) {
        for (int j = 1; j <= kColumns; ++j) {
            const int n = static_cast<int>(frames_.size()) + 1;
            QFrame *frame = copyFrame(c_.templateFrame);
            PictureBox *picture = copyPicture(c_.templatePicture);
            QLabel *caption = copyLabel(c_.templateCaption);
            frames_.push_back(frame);
            pictures_.push_back(picture);
            captions_.push_back(caption);
            frame->setParent(c_.wall);
            picture->setParent(frame);
            caption->setParent(frame);
            picture->setGeometry(1, 1, 162, 230);
            caption->setGeometry(1, 231, 162, 40);
            picture->setProperty("tag", QString::number(n));
            connect(picture, &PictureBox::mouseMoved, this, [this, picture] { onPosterMouseMoved(picture); });
            picture->setMouseTracking(true);
            frame->setGeometry(frameTemplate.left() + (frameTemplate.width() + kSpacing) * (j - 1),
                               frameTemplate.top() + (frameTemplate.height() + kSpacing) * (i - 1),
                               frameTemplate.width(), frameTemplate.height());
            frame->show();
            picture->show();
            caption->show();
            pumpWhileShown(1);
        }
    }
    for (size_t k = 0; k < frames_.size(); ++k) {
        const int n = static_cast<int>(k) + 1;
        pictures_[k]->setBackgroundPicture(posterBytes(n));
        captions_[k]->setText(toQString(title(n)));
    }
    QFrame *last = frames_.back();
    c_.wall->resize(c_.wall->width(), last->y() + last->height() + kSpacing);
    c_.scrollBar->setMaximum(c_.wall->height() - c_.window->height());
    c_.scrollBar->setValue(0);
    // Like any hidden window, the bar of a movie page not shown cannot take the focus.
    if (c_.scrollBar->isVisible())
        c_.scrollBar->setFocus(Qt::OtherFocusReason);
    releaseHoverCapture();
    pumpWhileShown(10);
}

void PosterWall::pumpWhileShown(int ms) {
    // Lets the window go on answering while the wall is built. Before the window is first shown
    // there is nothing to answer, and waiting would only delay its first appearance.
    if (c_.wall->window()->isVisible())
        waitPumping(ms);
}

void PosterWall::onPosterMouseMoved(PictureBox *poster) {
    hoveredMovie_ = poster->property("tag").toString().toInt();
    // Keep the wheel on the wall while the mouse is over a poster.
    c_.scrollBar->setFocus(Qt::MouseFocusReason);
}

void PosterWall::scrollTo(int position) {
    c_.wall->move(c_.wall->x(), -position);
    c_.wall->repaint();
}

bool PosterWall::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Wheel && (watched == c_.scrollBar || watched == c_.wall) &&
        !c_.scrollBar->isHidden()) {
        // Sixty pixels a notch; turning the wheel away from the user scrolls up.
        const int notches = static_cast<QWheelEvent *>(event)->angleDelta().y() / 120;
        c_.scrollBar->setValue(c_.scrollBar->value() - 60 * notches);
        c_.wall->repaint();
        c_.window->repaint();
        c_.page->repaint();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ui
