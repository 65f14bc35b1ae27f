#include "app/MainWindow.h"

#include "app/Configuration.h"
#include "app/Pictures.h"
#include "catalog/Catalog.h"
#include "playback/PlaybackState.h"
#include "text/Gbk.h"
#include "ui/Controls.h"
#include "ui/Files.h"
#include "ui/ProgramState.h"
#include "ui/Runtime.h"

#include <QCloseEvent>
#include <cstdio>
#include <QMenuBar>
#include <QMouseEvent>

namespace app {
namespace {

// Size of the window's client area below the menu bar: every control lies within it.
constexpr int kClientWidth = 391;
constexpr int kClientHeight = 553;

template <typename W> W *place(W *widget, const char *name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel *label(QWidget *parent, const char *name, int l, int t, int w, int h, const QString &text) {
    auto *result = place(new QLabel(text, parent), name, l, t, w, h);
    result->setFocusPolicy(Qt::NoFocus);
    return result;
}

ui::PictureBox *picture(QWidget *parent, const char *name, int l, int t, int w, int h,
                        ui::PictureBox::Fit fit = ui::PictureBox::Fit::Stretch) {
    auto *result = place(new ui::PictureBox(parent, fit), name, l, t, w, h);
    result->setFocusPolicy(Qt::NoFocus);
    return result;
}

QFrame *shapeBox(QWidget *parent, const char *name, int l, int t, int w, int h) {
    auto *result = place(new QFrame(parent), name, l, t, w, h);
    result->setFrameShape(QFrame::NoFrame);
    return result;
}

// Colours of the window's own look. Only the few controls that need a drawn shape get a style
// sheet of their own; a sheet on the whole window would slow down every paint.
const QColor kBackground(0xff, 0xff, 0xff);
const QColor kPanel(0xf4, 0xf6, 0xf9);
const QColor kHeading(0xee, 0xf2, 0xf7);
const QColor kQuietText(0x4a, 0x55, 0x66);
const QColor kAccent(0x3d, 0x8e, 0xe0);

void paint(QWidget *widget, const QColor &text, const QColor &background = QColor()) {
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, text);
    if (background.isValid()) {
        colours.setColor(QPalette::Window, background);
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(colours);
}

void embolden(QWidget *widget) {
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}


} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("岚影迷"));
    buildControls();
    buildMenus();
    move(50, 50);
    onCreated();
}

MainWindow::~MainWindow() { onDestroying(); }

void MainWindow::buildControls() {
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("MainWindowCentral"));
    central->setFixedSize(kClientWidth, kClientHeight);
    paint(central, kQuietText, kBackground);
    setCentralWidget(central);
    QWidget *w = central;

    标签12 = label(w, "标签12", 272, 61, 40, 27, QStringLiteral("集"));
    标签11 = label(w, "标签11", 230, 61, 34, 27, QStringLiteral("n"));
    标签11->setAlignment(Qt::AlignCenter);
    标签10 = label(w, "标签10", 185, 61, 40, 27, QStringLiteral("更新至"));
    组合框2 = place(new QComboBox(w), "组合框2", 93, 61, 81, 27);
    组合框2->addItems({QStringLiteral("日语"), QStringLiteral("国语")});
    组合框1 = place(new QComboBox(w), "组合框1", 0, 61, 97, 27);
    组合框1->addItems({QStringLiteral("TV版"), QStringLiteral("剧场版")});

    高级选择夹1 = place(new QStackedWidget(w), "高级选择夹1", -1, 88, 393, 465);
    page0 = new QWidget;
    page0->setObjectName(QStringLiteral("高级选择夹1_page0"));
    page1 = new QWidget;
    page1->setObjectName(QStringLiteral("高级选择夹1_page1"));
    高级选择夹1->addWidget(page0);
    高级选择夹1->addWidget(page1);
    QWidget *p = page0;

    超级列表框1 = place(new ui::EpisodeListView(p), "超级列表框1", 0, 25, 393, 315);
    超级列表框2 = place(new ui::EpisodeListView(p), "超级列表框2", 0, 25, 393, 315);
    超级列表框2->hide();
    标签2 = label(p, "标签2", 0, 0, 61, 25, QStringLiteral("   集数"));
    标签3 = label(p, "标签3", 60, 0, 333, 25, QString(28, QLatin1Char(' ')) + QStringLiteral("目录"));
    标签8 = label(p, "标签8", 257, 1, 132, 23, QStringLiteral("搜索到 n 个结果"));
    标签8->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    标签8->hide();
    图片框1 = picture(p, "图片框1", 1, 25, 391, 315, ui::PictureBox::Fit::Natural);
    图片框1->hide();
    画板1 = picture(p, "画板1", 9, 347, 160, 90);
    图片框2 = picture(p, "图片框2", 170, 347, 220, 90, ui::PictureBox::Fit::Natural);
    标签4 = label(p, "标签4", 176, 349, 205, 17, QStringLiteral("名侦探岚影"));
    标签5 = label(p, "标签5", 176, 366, 212, 37, QString());
    标签5->setWordWrap(true);
    图片框2->raise(); // covers 标签4 and 标签5 until an episode is chosen
    超级按钮1 = place(new QPushButton(QStringLiteral("播放"), p), "超级按钮1", 174, 405, 92, 31);
    超级按钮1->setToolTip(QStringLiteral("点击播放"));
    超级按钮1->setCursor(Qt::PointingHandCursor);
    画板5 = picture(p, "画板5", 272, 405, 31, 31);
    画板5->hide();
    标签7 = label(p, "标签7", 9, 439, 55, 24, QStringLiteral("预览图"));
    进度条1 = place(new QProgressBar(p), "进度条1", 68, 445, 261, 13);
    进度条1->setTextVisible(false);
    进度条1->setRange(0, 1);
    进度条1->setValue(0);
    进度条1->setEnabled(false);
    标签1 = label(p, "标签1", 334, 439, 54, 24, QStringLiteral("滑动预览"));
    图片框4 = picture(p, "图片框4", 345, 40, 40, 32);
    图片框4->hide();
    画板3 = picture(p, "画板3", 345, 80, 16, 16);
    画板3->hide();
    透明标签1 = label(p, "透明标签1", 289, 24, 100, 8, QString());
    透明标签1->setAttribute(Qt::WA_TranslucentBackground);
    透明标签1->hide();

    外形框3 = shapeBox(page1, "外形框3", 1, 1, 391, 463);
    多功能条1 = place(new QScrollBar(Qt::Vertical, 外形框3), "多功能条1", 304, 16, 24, 100);
    外形框2 = shapeBox(外形框3, "外形框2", 1, 1, 367, 422);
    外形框1 = shapeBox(外形框2, "外形框1", 1, 1, 342, 397);
    外形框_边框 = shapeBox(外形框1, "外形框_边框", 8, 16, 164, 272);
    图片框5 = picture(外形框_边框, "图片框5", 1, 1, 162, 230);
    图片框5->hide();
    标签9 = label(外形框_边框, "标签9", 1, 231, 162, 40, QString());
    标签9->setAlignment(Qt::AlignCenter);
    标签9->setWordWrap(true);
    图片框6 = picture(外形框1, "图片框6", 176, 160, 162, 230);
    按钮1 = place(new QPushButton(QStringLiteral("播放按钮"), 外形框1), "按钮1", 216, 80, 80, 72);
    多功能条1->raise();

    画板2 = picture(w, "画板2", 9, 5, 128, 38);
    图片框3 = picture(w, "图片框3", 169, 19, 15, 15);
    外形框4 = shapeBox(w, "外形框4", 161, 12, 212, 30);
    图片框3->raise();
    编辑框1 = place(new QLineEdit(QStringLiteral("查找"), 外形框4), "编辑框1", 31, 2, 152, 24);
    ui::setTextColor(编辑框1, ui::kPlaceholderColor);
    画板4 = picture(外形框4, "画板4", 193, 9, 12, 12);
    画板4->hide();
    画板4->setCursor(Qt::PointingHandCursor);

    // The magnifier takes the keyboard focus away from the search field.
    图片框3->setFocusPolicy(Qt::ClickFocus);
    for (QWidget *focusable : std::initializer_list<QWidget *>{超级列表框1, 超级列表框2, 组合框1, 组合框2, 编辑框1,
                                                              超级按钮1, 按钮1, 多功能条1})
        focusable->setFocusPolicy(Qt::StrongFocus);
    for (QLabel *l : findChildren<QLabel *>())
        l->setFocusPolicy(Qt::NoFocus);
    标签7->setFocusPolicy(Qt::ClickFocus); // receives the focus when a combo box list closes

    applyLook();

    episodeList_ = new ui::EpisodeList({超级列表框1, 超级列表框2, 编辑框1, 标签8, 图片框1, 画板4, 组合框1, 组合框2,
                                        标签11, 高级选择夹1, 图片框3, 标签7},
                                       this);
    posterWall_ = new ui::PosterWall({外形框3, 多功能条1, 外形框2, 外形框1, 外形框_边框, 图片框5, 标签9, 图片框6, 按钮1}, this);
    slidePreview_ = new ui::SlidePreview({进度条1, 标签1, 标签7, 图片框4, 画板3, 透明标签1, w}, this);
    episodeDetails_ = new ui::EpisodeDetails({组合框2, 图片框2, 标签4, 标签5, 画板1, 进度条1, 标签7, 标签1},
                                             pictureBytes("no_preview.jpg"), slidePreview_, this);
    for (ui::EpisodeListView *list : {超级列表框1, 超级列表框2})
        connect(list, &ui::EpisodeListView::rowClicked, episodeDetails_, [this, list] { episodeDetails_->onRowClicked(list); });
    // The play buttons and the mini player take the clicked episode's ids from playback's copy.
    connect(episodeDetails_, &ui::EpisodeDetails::episodeIdsSelected, this,
            [](const std::vector<std::string> &ids) { playback::setSelectedIds(ids); });
    listPlayRequest_ = new playback::ListPlayRequest({超级按钮1, 标签4, 标签5}, this);
}

void MainWindow::applyLook() {
    for (QLabel *l : {标签10, 标签12, 标签7, 标签1, 标签5})
        paint(l, kQuietText);
    paint(标签11, QColor(0xe2, 0x56, 0x2b));
    embolden(标签11);
    for (QLabel *l : {标签2, 标签3})
        paint(l, kQuietText, kHeading);
    paint(标签8, kAccent);
    // Picture boxes are opaque: the banner hides the detail labels beneath it.
    for (QWidget *box : {static_cast<QWidget *>(图片框2), static_cast<QWidget *>(图片框1)})
        paint(box, kQuietText, kBackground);
    paint(标签4, QColor(0x1f, 0x2d, 0x3d));
    embolden(标签4);
    for (QFrame *f : {外形框3, 外形框2, 外形框1})
        paint(f, kQuietText, kPanel);
    paint(标签9, kQuietText);
    外形框4->setStyleSheet(QStringLiteral("QFrame#外形框4 { border: 1px solid #c9d3df; border-radius: 4px; background: white; }"));
    编辑框1->setFrame(false);
    超级按钮1->setStyleSheet(QStringLiteral(
        "QPushButton { background: #3d8ee0; color: white; border: none; border-radius: 4px; font-size: 11pt; }"
        "QPushButton:hover { background: #5aa2ea; } QPushButton:pressed { background: #2f77c2; }"));
    进度条1->setStyleSheet(QStringLiteral("QProgressBar { border: 1px solid #c9d3df; border-radius: 3px; background: #eef2f7; }"
                                           "QProgressBar::chunk { background: #3d8ee0; }"));
}

void MainWindow::buildMenus() {
    QMenuBar *bar = menuBar();
    QMenu *coming = bar->addMenu(QStringLiteral("即将添加"));
    coming->addAction(QStringLiteral("下载功能"))->setEnabled(false);
    coming->addAction(QStringLiteral("待添加..."))->setEnabled(false);
    QMenu *more = bar->addMenu(QStringLiteral("更多"));
    more->addAction(QStringLiteral("公告"))->setObjectName(QStringLiteral("公告"));
    more->addSeparator();
    more->addAction(QStringLiteral("M19剧场版预告"))->setObjectName(QStringLiteral("M19剧场版预告"));
    bar->addMenu(QStringLiteral("留言"))->addAction(QStringLiteral("我要留言"))->setObjectName(QStringLiteral("我要留言"));
    bar->addMenu(QStringLiteral("关于"))->addAction(QStringLiteral("关于软件"))->setObjectName(QStringLiteral("关于软件"));
    bar->addMenu(QStringLiteral("其他动漫"))->addAction(QStringLiteral("侦探学园物语"))->setEnabled(false);
    setFixedSize(kClientWidth, kClientHeight + bar->sizeHint().height());
}

void MainWindow::onCreated() {
    const std::string runDir = ui::runDirectory();
    const std::string separator(ui::pathSeparator());

    // A new program file left behind by a self-update.
    ui::deleteFile(runDir + separator + std::string(kDownloadedProgramFileName));
    ui::playerPagePath.set(runDir + separator + std::string(kPlayerPageFileName));

    画板2->setBackgroundPicture(pictureBytes("logo.png"));
    画板1->setBackgroundPicture(pictureBytes("no_preview.jpg"));
    画板4->setBackgroundPicture(pictureBytes("cross_light.png"));
    画板5->setBackgroundPicture(pictureBytes("picture128.png"));
    图片框1->setBackgroundPicture(pictureBytes("no_result.png"));
    图片框2->setBackgroundPicture(pictureBytes("banner_logo.png"));
    图片框3->setBackgroundPicture(pictureBytes("magnifier.png"));

    catalog::buildTables();
    catalog::currentSeries.set(text::gbk(catalog::kSeriesTv));
    catalog::currentAudio.set(text::gbk(catalog::kAudioJapanese));
    组合框1->setCurrentIndex(0);
    组合框2->setCurrentIndex(0);

    画板3->setParent(图片框4);
    画板3->hide();
    setFocus(Qt::OtherFocusReason);

    layOutPosterPage();
    标签9->setText(ui::toQString(catalog::tables()[catalog::TableId::MovieTitles].value(1)));
    posterWall_->build(
        [](int n) {
            char name[32];
            std::snprintf(name, sizeof name, "posters/poster_%02d.jpg", n);
            return pictureBytes(name);
        },
        [](int n) { return catalog::tables()[catalog::TableId::MovieTitles].value(n); });

    const std::string documents = ui::documentsFolder();
    ui::configPath.set(documents.empty() ? std::string() : documents + std::string(kConfigFileName));
    ui::localVersion.set(loadLocalVersion(ui::configPath.get()));

    mergeNewlyAiredFile(documents.empty() ? std::string() : documents + std::string(catalog::kNewlyAiredFileName));
    标签11->setText(QString::number(catalog::tables()[catalog::TableId::JapaneseTitles].rowCount()));

    episodeList_->startFillOrFilterJob();
}

void MainWindow::layOutPosterPage() {
    多功能条1->setGeometry(外形框3->width() - 多功能条1->width() + 5, 0, 多功能条1->width(), 外形框3->height());
    外形框2->setGeometry(1, 1, 外形框3->width() - 多功能条1->width(), 外形框3->height() - 2);
    外形框1->setGeometry(1, 1, 外形框2->width() - 2, 外形框2->height() - 2);
}

void MainWindow::closeEvent(QCloseEvent *event) {
    emit closing();
    onDestroying();
    QMainWindow::closeEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        图片框3->setFocus(Qt::OtherFocusReason);
    QMainWindow::mouseReleaseEvent(event);
}

void MainWindow::onDestroying() {
    if (destroyed_)
        return;
    destroyed_ = true;
    playback::closeMiniPlayer();
    const std::string page = ui::playerPagePath.get();
    if (ui::fileExists(page))
        ui::deleteFile(page);
}

} // namespace app
