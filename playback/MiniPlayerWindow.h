#pragma once
// The mini player: the embedded browser showing the player page, and below it the previous and
// next buttons, the episode list, the site list and "置顶". A play request leaves the episode and
// caption in the playback globals; the window's first activation afterwards fills it and loads
// the page.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>


namespace playback {

class MiniPlayerWindow : public QWidget {
    Q_OBJECT
public:
    explicit MiniPlayerWindow(QWidget *parent = nullptr);
    ~MiniPlayerWindow() override;

    // Limits of the window's size.
    static constexpr int kMinWidth = 699, kMinHeight = 391, kMaxWidth = 5000, kMaxHeight = 5000;

    QWidget *超文本浏览框1; // the embedded browser (see Browser.h)
    QFrame *外形框1;
    QPushButton *超级按钮1, *超级按钮2;
    QComboBox *组合框1;
    QLabel *标签1;
    QComboBox *组合框2;
    QCheckBox *选择框1;
    QTimer *时钟1;

    // Writes the page for the current choice and points the browser at it; starts the watch for
    // the player's render widget unless the site is "爱奇艺".
    void showPlayerPage();
    // The activation fill: runs once per play request (miniPlayerFilled).
    void fillIfNeeded();
    // The browser's render widget whose right clicks are swallowed, once the watch found it.
    QWidget *flashWindow() const { return flashWindow_; }

    // Event handlers, on the GUI thread.
    void onEpisodeChosen();  // 组合框1 item selected
    void onSiteChosen();     // 组合框2 item selected
    void onPreviousClicked(); // 超级按钮1
    void onNextClicked();     // 超级按钮2
    void onOnTopClicked();    // 选择框1
    void onWatchTick();       // 时钟1

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layOut();
    // Fills 组合框1 with the episodes of the current series and audio (emptied first).
    void fillEpisodeCombo();
    void loadPlayerPage();
    void startWatchUnlessIqiyi();
    void releaseFlashWindow();

    QPointer<QWidget> flashWindow_;
    int comboSource_ = -1; // the title table 组合框1 was last filled from
};

} // namespace playback
