#include "ui/PictureBox.h"

#include "ui/Runtime.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace ui {

PictureBox::PictureBox(QWidget *parent, Fit fit) : QWidget(parent), fit_(fit) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureBox::setBackgroundPicture(const std::string &imageBytes) {
    QPointer<PictureBox> guard(this);
    runOnGui([&] {
        if (!guard)
            return;
        bytes_ = imageBytes;
        picture_ = QPixmap();
        decoded_ = bytes_.empty();
        update();
    });
}

const QPixmap &PictureBox::picture() const {
    if (!decoded_) {
        decoded_ = true;
        picture_.loadFromData(reinterpret_cast<const uchar *>(bytes_.data()), static_cast<uint>(bytes_.size()));
    }
    return picture_;
}

void PictureBox::setBackgroundPicture(const QPixmap &picture) {
    QPointer<PictureBox> guard(this);
    runOnGui([&] {
        if (!guard)
            return;
        bytes_.clear();
        picture_ = picture;
        decoded_ = true;
        update();
    });
}

std::string PictureBox::backgroundPictureBytes() const {
    return readOnGui<std::string>([this] { return bytes_; });
}

void PictureBox::paintEvent(QPaintEvent *) {
    const QPixmap &shown = picture();
    if (shown.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (fit_ == Fit::Stretch)
        painter.drawPixmap(rect(), shown);
    else
        painter.drawPixmap(0, 0, shown);
}

void PictureBox::mousePressEvent(QMouseEvent *event) {
    // Taking the press makes the release come here too.
    event->accept();
}

void PictureBox::mouseMoveEvent(QMouseEvent *event) {
    emit mouseMoved(event->position().toPoint());
    event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        emit leftButtonReleased(event->position().toPoint());
    // The control handles its own button: the window's release handler is not run for it.
    event->accept();
}

} // namespace ui
