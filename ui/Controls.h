#pragma once
// Control operations the program's logic uses. Every function may be called from any thread:
// off the GUI thread it waits while the GUI thread does the work. Texts are GBK; colours are
// 0x00BBGGRR numbers. A control that no longer exists reads as empty and ignores writes.

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <atomic>
#include <string>
#include <string_view>

namespace ui {

// Shared by every hover effect of the main window: true while one of them holds the mouse capture.
extern std::atomic<bool> hoverCapture;
// Releases the mouse capture, whichever control holds it, and clears hoverCapture.
void releaseHoverCapture();

QString toQString(std::string_view gbk);
std::string fromQString(const QString &text);

// Caption of a window, label, button or edit box; the current text of a combo box.
void setCaption(QWidget *control, std::string_view gbk);
std::string caption(QWidget *control);

// "Visible" is the control's own flag: a shown control on a hidden page still counts as visible.
void setVisible(QWidget *control, bool visible);
bool isVisible(QWidget *control);
void setDisabled(QWidget *control, bool disabled);
bool isDisabled(QWidget *control);

void setTextColor(QWidget *control, unsigned bgr);
unsigned textColor(QWidget *control);
QColor colorFromBgr(unsigned bgr);

void giveFocus(QWidget *control);

// The program's font: 微软雅黑 on Windows, a CJK sans-serif font with the same metrics role elsewhere.
// Naming a font that exists spares the font system a search for fallbacks at every start.
QFont programFont();

} // namespace ui
