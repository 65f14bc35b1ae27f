#include "ui/Controls.h"

#include "text/Gbk.h"
#include "ui/Runtime.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace ui {
namespace {
constexpr const char *kTextColorProperty = "textColor";

// Runs `change` on the GUI thread with the control, if the control still exists.
template <typename F> void onControl(QWidget *control, F &&change) {
    QPointer<QWidget> guard(control);
    runOnGui([&] {
        if (guard)
            change(guard.data());
    });
}
} // namespace

std::atomic<bool> hoverCapture{false};

void releaseHoverCapture() {
    runOnGui([] {
        if (QWidget *grabber = QWidget::mouseGrabber())
            grabber->releaseMouse();
        hoverCapture = false;
    });
}

QString toQString(std::string_view gbk) { return QString::fromStdString(text::gbkToUtf8(gbk)); }

std::string fromQString(const QString &text) { return text::utf8ToGbk(text.toStdString()); }

void setCaption(QWidget *control, std::string_view gbk) {
    const QString caption = toQString(gbk);
    onControl(control, [&](QWidget *c) {
        if (auto *label = qobject_cast<QLabel *>(c))
            label->setText(caption);
        else if (auto *edit = qobject_cast<QLineEdit *>(c))
            edit->setText(caption);
        else if (auto *button = qobject_cast<QAbstractButton *>(c))
            button->setText(caption);
        else if (auto *combo = qobject_cast<QComboBox *>(c))
            combo->setCurrentText(caption);
        else
            c->setWindowTitle(caption);
    });
}

std::string caption(QWidget *control) {
    QPointer<QWidget> guard(control);
    const QString caption = readOnGui<QString>([&] {
        if (!guard)
            return QString();
        if (auto *label = qobject_cast<QLabel *>(guard))
            return label->text();
        if (auto *edit = qobject_cast<QLineEdit *>(guard))
            return edit->text();
        if (auto *button = qobject_cast<QAbstractButton *>(guard))
            return button->text();
        if (auto *combo = qobject_cast<QComboBox *>(guard))
            return combo->currentText();
        return guard->windowTitle();
    });
    return fromQString(caption);
}

void setVisible(QWidget *control, bool visible) {
    onControl(control, [&](QWidget *c) { c->setVisible(visible); });
}

bool isVisible(QWidget *control) {
    QPointer<QWidget> guard(control);
    return readOnGui<bool>([&] { return guard && !guard->isHidden(); });
}

void setDisabled(QWidget *control, bool disabled) {
    onControl(control, [&](QWidget *c) { c->setDisabled(disabled); });
}

bool isDisabled(QWidget *control) {
    QPointer<QWidget> guard(control);
    return readOnGui<bool>([&] { return guard && !guard->isEnabled(); });
}

QColor colorFromBgr(unsigned bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

void setTextColor(QWidget *control, unsigned bgr) {
    onControl(control, [&](QWidget *c) {
        c->setProperty(kTextColorProperty, bgr);
        QPalette palette = c->palette();
        palette.setColor(QPalette::Text, colorFromBgr(bgr));
        palette.setColor(QPalette::WindowText, colorFromBgr(bgr));
        palette.setColor(QPalette::ButtonText, colorFromBgr(bgr));
        c->setPalette(palette);
    });
}

unsigned textColor(QWidget *control) {
    QPointer<QWidget> guard(control);
    return readOnGui<unsigned>([&] { return guard ? guard->property(kTextColorProperty).toUInt() : 0u; });
}

void giveFocus(QWidget *control) {
    onControl(control, [](QWidget *c) { c->setFocus(Qt::OtherFocusReason); });
}

QFont programFont() {
    QFont font;
#ifdef Q_OS_WIN
    font.setFamilies({QStringLiteral("Microsoft YaHei")});
#else
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
#endif
    font.setPointSize(9);
    return font;
}

} // namespace ui
