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
    QPixmap decoded;
    decoded.loadFromData(reinterpret_cast<const uchar *>(imageBytes.data()), static_cast<uint>(imageBytes.size()));
    QPointer<PictureBox> guard(this);
    runOnGui([&] {
        if (!guard)
            return;
        bytes_ = decoded.isNull() ? std::string() : imageBytes;
        picture_ = decoded;
        update();
    });
}

void PictureBox::setBackgroundPicture(const QPixmap &picture) {
    QPointer<PictureBox> guard(this);
    runOnGui([&] {
        if (!guard)
            return;
        bytes_.clear();
        picture_ = picture;
        update();
    });
}

std::string PictureBox::backgroundPictureBytes() const {
    return readOnGui<std::string>([this] { return bytes_; });
}

void PictureBox::paintEvent(QPaintEvent *) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (fit_ == Fit::Stretch) {
        painter.drawPixmap(rect(), picture_);
    } else {
        painter.drawPixmap(0, 0, picture_);
    }
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
