#include "playback/MiniPlayerWindow.h"

#include "playback/Browser.h"

#include "catalog/Catalog.h"
#include "playback/PlaybackState.h"
#include "playback/PlayerPage.h"
#include "text/Gbk.h"
#include "ui/Controls.h"
#include "ui/ProgramState.h"
#include "ui/Runtime.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QUrl>

namespace playback {
namespace {

constexpr int kWatchPeriodMs = 100;

// A combo box that hands the keyboard focus back to its window when its list closes.
class FocusReturningComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    void hidePopup() override {
        QComboBox::hidePopup();
        window()->setFocus(Qt::OtherFocusReason);
    }
};

template <typename W> W *place(W *widget, const char *name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

// The step buttons: green text, white on green under the mouse, grey when disabled.
QPushButton *stepButton(QWidget *parent, const char *name, const QString &word, int left) {
    auto *button = place(new QPushButton(word, parent), name, left, 368, 72, 32);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(QStringLiteral(
        "QPushButton { color: #1f9d3a; background: white; border: 1px solid #1f9d3a; border-radius: 4px; }"
        "QPushButton:hover { color: white; background: #1f9d3a; }"
        "QPushButton:disabled { color: #9a9a9a; border-color: #c8c8c8; }"));
    return button;
}

bool isTv() { return catalog::currentSeries.equals(text::gbk(catalog::kSeriesTv)); }
bool isMovies() { return catalog::currentSeries.equals(text::gbk(catalog::kSeriesMovies)); }
bool isJapanese() { return catalog::currentAudio.equals(text::gbk(catalog::kAudioJapanese)); }

} // namespace

MiniPlayerWindow::MiniPlayerWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MiniPlayerWindow"));
    setWindowTitle(QStringLiteral("mini播放器"));
    setMouseTracking(true);

    // The strip frame lies below the controls that overlap it.
    外形框1 = place(new QFrame(this), "外形框1", 0, 408, 120, 100);
    外形框1->setFrameShape(QFrame::NoFrame);
    外形框1->setAutoFillBackground(true);

    // The browser module is loaded here, the first time the mini player opens.
    QWidget *browser = createBrowser(this);
    超文本浏览框1 = place(browser ? browser : new QWidget(this), "超文本浏览框1", 0, 0, 744, 377);
    // The browser paints every pixel itself: nothing erases its background first.
    超文本浏览框1->setAttribute(Qt::WA_OpaquePaintEvent);

    超级按钮1 = stepButton(this, "超级按钮1", QStringLiteral("上一集"), 8);
    超级按钮2 = stepButton(this, "超级按钮2", QStringLiteral("下一集"), 96);
    组合框1 = place(new FocusReturningComboBox(this), "组合框1", 200, 370, 376, 28);
    标签1 = place(new QLabel(QStringLiteral("切换："), this), "标签1", 536, 432, 56, 24);
    组合框2 = place(new FocusReturningComboBox(this), "组合框2", 592, 432, 100, 23);
    组合框2->addItems({QStringLiteral("搜狐"), QStringLiteral("乐视"), QStringLiteral("爱奇艺")});
    选择框1 = place(new QCheckBox(QStringLiteral("置顶"), this), "选择框1", 704, 432, 56, 24);
    时钟1 = new QTimer(this);
    时钟1->setObjectName(QStringLiteral("时钟1"));

    connect(组合框1, &QComboBox::activated, this, [this] { onEpisodeChosen(); });
    connect(组合框2, &QComboBox::activated, this, [this] { onSiteChosen(); });
    connect(超级按钮1, &QPushButton::clicked, this, [this] { onPreviousClicked(); });
    connect(超级按钮2, &QPushButton::clicked, this, [this] { onNextClicked(); });
    connect(选择框1, &QCheckBox::clicked, this, [this] { onOnTopClicked(); });
    connect(时钟1, &QTimer::timeout, this, [this] { onWatchTick(); });

    setMinimumSize(kMinWidth, kMinHeight);
    setMaximumSize(kMaxWidth, kMaxHeight);
    move(50, 50);
    resize(976, 646);
    layOut();
}

MiniPlayerWindow::~MiniPlayerWindow() { releaseFlashWindow(); }

void MiniPlayerWindow::layOut() {
    const int w = width(), h = height();
    超文本浏览框1->setGeometry(-2, -2, w + 4, h - 80);
    const QRect browser = 超文本浏览框1->geometry();
    外形框1->setGeometry(browser.left(), browser.top() + browser.height(), browser.width(), 15);
    const int strip = 外形框1->y();
    超级按钮1->move(15, strip + 1);
    超级按钮2->move(超级按钮1->x() + 超级按钮1->width() + 15, strip + 1);
    组合框1->setGeometry(超级按钮2->x() + 超级按钮2->width() + 25, strip + 3, w - 450, 组合框1->height());
    标签1->move(组合框1->x() + 组合框1->width() + 3, strip + 5);
    组合框2->move(标签1->x() + 标签1->width() + 3, strip + 3);
    选择框1->move(组合框2->x() + 组合框2->width() + 7, strip + 7);
}

void MiniPlayerWindow::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    layOut();
}

void MiniPlayerWindow::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        fillIfNeeded();
}

void MiniPlayerWindow::mouseMoveEvent(QMouseEvent *event) {
    // The player may hide the cursor; over the window's own surface it shows again.
    if (const QCursor *override = QGuiApplication::overrideCursor();
        override && override->shape() == Qt::BlankCursor)
        QGuiApplication::restoreOverrideCursor();
    QWidget::mouseMoveEvent(event);
}

void MiniPlayerWindow::fillIfNeeded() {
    if (miniPlayerFilled.exchange(true))
        return;
    setWindowTitle(ui::toQString(playingCaption.get()));

    组合框2->clear();
    std::string id;
    if (isTv() && isJapanese()) {
        currentSite.set(siteSohu());
        if (selectedId(1, &id))
            currentPlayId.set(id);
        组合框2->addItem(ui::toQString(siteSohu()));
        组合框2->setCurrentIndex(0);
    } else if (isTv()) {
        for (const std::string &site : {siteSohu(), siteLetv(), siteIqiyi()})
            组合框2->addItem(ui::toQString(site));
        const std::string site = currentSite.get();
        int index = 0;
        if (site == siteLetv())
            index = 1;
        else if (site == siteIqiyi())
            index = 2;
        else if (site != siteSohu())
            currentSite.set(siteSohu());
        if (selectedId(index + 1, &id))
            currentPlayId.set(id);
        组合框2->setCurrentIndex(index);
    } else if (isMovies()) {
        组合框2->addItem(ui::toQString(siteLetv()));
        currentSite.set(siteLetv());
        const catalog::Table &videoIds = catalog::tables()[catalog::TableId::MovieVideoIds];
        const int n = currentEpisode.load();
        if (n >= 1 && n <= videoIds.rowCount())
            currentPlayId.set(videoIds.value(n));
        组合框2->setCurrentIndex(0);
    }

    showPlayerPage();

    fillEpisodeCombo();
    组合框1->setCurrentIndex(currentEpisode.load() - 1);

    openMarkedEpisode();
}

void MiniPlayerWindow::fillEpisodeCombo() {
    catalog::TableId titles;
    if (isTv())
        titles = isJapanese() ? catalog::TableId::JapaneseTitles : catalog::TableId::MandarinTitles;
    else if (isMovies())
        titles = catalog::TableId::MovieTitles;
    else {
        组合框1->clear();
        comboSource_ = -1;
        return;
    }
    const catalog::Table &table = catalog::tables()[titles];
    // The tables do not change after start-up: a list already built from the same table is
    // the list a rebuild would give, and rebuilding hundreds of items costs a noticeable pause.
    const int source = static_cast<int>(titles);
    if (comboSource_ == source && 组合框1->count() == table.rowCount())
        return;
    组合框1->clear();
    comboSource_ = source;
    const std::string episode = text::gbk("第"), blanks = text::gbk("集  ");
    QStringList items;
    items.reserve(table.rowCount());
    for (int i = 1; i <= table.rowCount(); ++i)
        items.append(ui::toQString(episode + std::to_string(i) + blanks + table.value(i)));
    组合框1->addItems(items);
    for (int i = 0; i < 组合框1->count(); ++i)
        组合框1->setItemData(i, i + 1);
}

void MiniPlayerWindow::showPlayerPage() {
    deletePlayerPage();
    if (const std::string *pageTemplate = pickPageTemplate())
        writePlayerPageFile(*pageTemplate, currentPlayId.get());
    hidePlayerPage();
    releaseFlashWindow();
    loadPlayerPage();
    startWatchUnlessIqiyi();
}

void MiniPlayerWindow::loadPlayerPage() {
    browserLoad(超文本浏览框1, QUrl::fromLocalFile(QString::fromStdString(ui::playerPagePath.get())));
}

void MiniPlayerWindow::startWatchUnlessIqiyi() {
    if (!currentSite.equals(siteIqiyi()))
        时钟1->start(kWatchPeriodMs);
}

void MiniPlayerWindow::onEpisodeChosen() {
    const int index = 组合框1->currentIndex();
    if (index < 0)
        return;
    const int episode = 组合框1->itemData(index).toInt();
    if (episode == currentEpisode.load())
        return;
    currentEpisode.store(episode);
    playingCaption.set(text::gbk("正在播放：  ") + ui::fromQString(组合框1->itemText(index)));
    setWindowTitle(ui::toQString(playingCaption.get()));
    collectEpisodeIds();
    showPlayerPage();
    openMarkedEpisode();
}

void MiniPlayerWindow::onPreviousClicked() {
    if (组合框1->currentIndex() == 0) {
        ui::messageBox(text::gbk("已经是第一集了哦！"), ui::Information, text::gbk("温馨提示："));
        return;
    }
    const int index = currentEpisode.load() - 2;
    if (index < 0 || index >= 组合框1->count())
        return;
    组合框1->setCurrentIndex(index);
    onEpisodeChosen();
}

void MiniPlayerWindow::onNextClicked() {
    if (组合框1->currentIndex() == 组合框1->count() - 1) {
        ui::messageBox(text::gbk("已经是最后一集了哦！"), ui::Information, text::gbk("温馨提示："));
        return;
    }
    const int index = currentEpisode.load();
    if (index < 0 || index >= 组合框1->count())
        return;
    组合框1->setCurrentIndex(index);
    onEpisodeChosen();
}

void MiniPlayerWindow::onSiteChosen() {
    const std::string site = ui::fromQString(组合框2->currentText());
    if (currentSite.equals(site))
        return;
    currentSite.set(site);
    if (isJapanese())
        return;

    deletePlayerPage();
    const int index = 组合框2->currentIndex();
    const std::string *templates[] = {&sohuVidPageTemplate(), &letvPageTemplate(), &iqiyiPageTemplate()};
    std::string id;
    // A list shorter than the site needs (a Japanese episode chosen, then the audio switched)
    // writes nothing, like any other index.
    if (index >= 0 && index < 3 && selectedId(index + 1, &id)) {
        currentPlayId.set(id);
        writePlayerPageFile(*templates[index], id);
    }
    hidePlayerPage();
    releaseFlashWindow();
    loadPlayerPage();
    startWatchUnlessIqiyi();
}

void MiniPlayerWindow::onOnTopClicked() {
    const QRect placement = geometry();
    if (选择框1->isChecked()) {
        raise();
        activateWindow();
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    } else {
        setWindowFlag(Qt::WindowStaysOnTopHint, false);
    }
    // Changing the flag hides the window; it comes back where it was, at its size.
    setGeometry(placement);
    show();
}

void MiniPlayerWindow::onWatchTick() {
    QWidget *renderWidget = 超文本浏览框1->focusProxy();
    flashWindow_ = renderWidget;
    if (!renderWidget)
        return;
    renderWidget->installEventFilter(this);
    时钟1->stop();
}

void MiniPlayerWindow::releaseFlashWindow() {
    if (flashWindow_)
        flashWindow_->removeEventFilter(this);
}

bool MiniPlayerWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == flashWindow_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
                return true;
            break;
        case QEvent::ContextMenu:
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace playback
