#pragma once
// A picture box or canvas: a control that shows a background picture given as image file bytes.

#include <QPixmap>
#include <QWidget>

#include <string>

namespace ui {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    enum class Fit {
        Stretch, // the canvas rule: the picture fills the control
        Natural, // the picture box rule: natural size from the top left, cut at the edges
    };
    explicit PictureBox(QWidget *parent = nullptr, Fit fit = Fit::Stretch);

    // Any thread. Empty bytes (or bytes that are no picture) clear the picture. The bytes are
    // decoded when the picture is first drawn, so pictures never seen cost nothing.
    void setBackgroundPicture(const std::string &imageBytes);
    void setBackgroundPicture(const QPixmap &picture);
    // The bytes last given, empty when none.
    std::string backgroundPictureBytes() const;
    // The decoded picture (GUI thread).
    const QPixmap &picture() const;
    Fit fit() const { return fit_; }

signals:
    void mouseMoved(QPoint position);
    void leftButtonReleased(QPoint position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Fit fit_;
    mutable QPixmap picture_;
    mutable bool decoded_ = true;
    std::string bytes_;
};

} // namespace ui
