#pragma once
// The main window: the series and audio choice, the episode count, the TV page with its episode
// lists, search field, thumbnail and preview bar, and the movie page with its poster wall.
//
// Controls keep their form names, as member names and as object names, so a control is found by
// the same name in the code and in a running program.

#include "ui/EpisodeDetails.h"
#include "ui/EpisodeList.h"
#include "ui/EpisodeListView.h"
#include "ui/PictureBox.h"
#include "ui/PosterWall.h"
#include "ui/SlidePreview.h"
#include "playback/PlayRequest.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>

#include <string>

namespace app {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    ui::EpisodeList *episodeList() const { return episodeList_; }
    ui::PosterWall *posterWall() const { return posterWall_; }
    ui::EpisodeDetails *episodeDetails() const { return episodeDetails_; }
    ui::SlidePreview *slidePreview() const { return slidePreview_; }

    // The window's controls, by their form names.
    QLabel *标签12, *标签11, *标签10;
    QComboBox *组合框2, *组合框1;
    QStackedWidget *高级选择夹1;
    QWidget *page0, *page1;
    ui::EpisodeListView *超级列表框1, *超级列表框2;
    QLabel *标签2, *标签3, *标签8;
    ui::PictureBox *图片框1, *画板1, *图片框2;
    QLabel *标签4, *标签5;
    QPushButton *超级按钮1;
    ui::PictureBox *画板5;
    QLabel *标签7;
    QProgressBar *进度条1;
    QLabel *标签1;
    ui::PictureBox *图片框4, *画板3;
    QLabel *透明标签1;
    QFrame *外形框3;
    QScrollBar *多功能条1;
    QFrame *外形框2, *外形框1, *外形框_边框;
    ui::PictureBox *图片框5;
    QLabel *标签9;
    ui::PictureBox *图片框6;
    QPushButton *按钮1;
    ui::PictureBox *画板2, *图片框3;
    QFrame *外形框4;
    QLineEdit *编辑框1;
    ui::PictureBox *画板4;

signals:
    // The window is about to be destroyed: secondary windows close on it.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void applyLook();
    void onCreated();
    void layOutPosterPage();
    void onDestroying();

    ui::EpisodeList *episodeList_ = nullptr;
    ui::PosterWall *posterWall_ = nullptr;
    ui::SlidePreview *slidePreview_ = nullptr;
    ui::EpisodeDetails *episodeDetails_ = nullptr;
    playback::ListPlayRequest *listPlayRequest_ = nullptr;
    bool destroyed_ = false;
};

} // namespace app
