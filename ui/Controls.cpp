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
    QPointer<QWidget> guard(control);
    const QString caption = toQString(gbk);
    runOnGui([&] {
        if (!guard)
            return;
        if (auto *label = qobject_cast<QLabel *>(guard))
            label->setText(caption);
        else if (auto *edit = qobject_cast<QLineEdit *>(guard))
            edit->setText(caption);
        else if (auto *button = qobject_cast<QAbstractButton *>(guard))
            button->setText(caption);
        else if (auto *combo = qobject_cast<QComboBox *>(guard))
            combo->setCurrentText(caption);
        else
            guard->setWindowTitle(caption);
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
    QPointer<QWidget> guard(control);
    runOnGui([&] {
        if (guard)
            guard->setVisible(visible);
    });
}

bool isVisible(QWidget *control) {
    QPointer<QWidget> guard(control);
    return readOnGui<bool>([&] { return guard && !guard->isHidden(); });
}

void setDisabled(QWidget *control, bool disabled) {
    QPointer<QWidget> guard(control);
    runOnGui([&] {
        if (guard)
            guard->setDisabled(disabled);
    });
}

bool isDisabled(QWidget *control) {
    QPointer<QWidget> guard(control);
    return readOnGui<bool>([&] { return guard && !guard->isEnabled(); });
}

QColor colorFromBgr(unsigned bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

void setTextColor(QWidget *control, unsigned bgr) {
    QPointer<QWidget> guard(control);
    runOnGui([&] {
        if (!guard)
            return;
        guard->setProperty(kTextColorProperty, bgr);
        QPalette palette = guard->palette();
        palette.setColor(QPalette::Text, colorFromBgr(bgr));
        palette.setColor(QPalette::WindowText, colorFromBgr(bgr));
        palette.setColor(QPalette::ButtonText, colorFromBgr(bgr));
        guard->setPalette(palette);
    });
}

unsigned textColor(QWidget *control) {
    QPointer<QWidget> guard(control);
    return readOnGui<unsigned>([&] { return guard ? guard->property(kTextColorProperty).toUInt() : 0u; });
}

void giveFocus(QWidget *control) {
    QPointer<QWidget> guard(control);
    runOnGui([&] {
        if (guard)
            guard->setFocus(Qt::OtherFocusReason);
    });
}

} // namespace ui

namespace ui {

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
