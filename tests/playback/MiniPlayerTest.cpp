// The "播放" button and the mini player on a started main window, with the real embedded browser.

#include "TestSupport.h"
#include "catalog/Catalog.h"
#include "playback/MiniPlayerWindow.h"
#include "playback/PlayRequest.h"
#include "playback/PlaybackState.h"
#include "playback/PlayerPage.h"
#include "playback/SystemBrowser.h"
#include "tests/app/MainWindowFixture.h"
#include "text/Gbk.h"
#include "ui/Controls.h"
#include "ui/Files.h"
#include "ui/ProgramState.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <string>
#include <vector>

namespace {

using catalog::TableId;

std::string u8(const std::string &gbk) { return text::gbkToUtf8(gbk); }
std::string title(const QWidget *w) { return w->windowTitle().toStdString(); }

// The mini player's browser is the web engine's view, made by the browser module.
QWebEngineView *webView(playback::MiniPlayerWindow *player) {
    return qobject_cast<QWebEngineView *>(player->超文本浏览框1);
}

class MiniPlayerTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        playback::setSelectedIds({});
        playback::currentSite.set("");
        playback::currentPlayId.set("");
        playback::currentEpisode = 0;
        ui::setMessageBoxHook([this](const std::string &text, int style, const std::string &caption) {
            messages.push_back(u8(text) + "|" + std::to_string(style) + "|" + u8(caption));
            return int(ui::AnswerOk);
        });
        playback::setBrowserOpener([this](const std::string &address) { messages.push_back("open:" + address); });
    }
    void TearDown() override {
        playback::closeMiniPlayer();
        ui::setMessageBoxHook({});
        playback::setBrowserOpener({});
        catalog::currentSeries.set(text::gbk(catalog::kSeriesTv));
        catalog::currentAudio.set(text::gbk(catalog::kAudioJapanese));
        MainWindowTest::TearDown();
    }

    // What a click on episode row n leaves behind: the detail labels and the play ids.
    void chooseEpisode(int n, bool mandarin = false) {
        catalog::currentAudio.set(text::gbk(mandarin ? catalog::kAudioMandarin : catalog::kAudioJapanese));
        const auto &t = catalog::tables();
        ui::setCaption(window->标签4, text::gbk("名侦探岚影  第") + std::to_string(n) + text::gbk("集"));
        if (mandarin) {
            ui::setCaption(window->标签5, t[TableId::MandarinTitles].value(n));
            playback::setSelectedIds({t[TableId::MandarinSohuIds].value(n), t[TableId::MandarinLetvIds].value(n),
                                      t[TableId::MandarinIqiyiIds].value(n)});
        } else {
            ui::setCaption(window->标签5, t[TableId::JapaneseTitles].value(n));
            playback::setSelectedIds({t[TableId::JapaneseSohuIds].value(n)});
        }
    }

    // Clicks "播放" and waits for the mini player's page to finish loading.
    playback::MiniPlayerWindow *play() {
        QTest::mouseClick(window->超级按钮1, Qt::LeftButton);
        playback::MiniPlayerWindow *player = playback::miniPlayer();
        if (player)
            watchLoads(player);
        return player;
    }
    void watchLoads(playback::MiniPlayerWindow *player) {
        if (watched_ == player)
            return;
        watched_ = player;
        QObject::connect(webView(player), &QWebEngineView::loadStarted, player, [this] { ++loadsStarted; });
        QObject::connect(webView(player), &QWebEngineView::loadFinished, player, [this](bool ok) {
            ++loadsFinished;
            lastLoadOk = ok;
        });
    }
    // Waits until `total` page loads have finished since the first play; answers false on a
    // time-out or when more loads than that have started.
    bool waitForLoads(int total) {
        return testsupport::waitUntil([&] { return loadsFinished >= total; }, 60000) && loadsStarted == total;
    }
    std::string page() const { return ui::readFile(ui::playerPagePath.get()).value_or(""); }

    std::vector<std::string> messages;
    QPointer<playback::MiniPlayerWindow> watched_;
    int loadsStarted = 0, loadsFinished = 0;
    bool lastLoadOk = false;
};

TEST_F(MiniPlayerTest, PlayWithNothingChosenShowsTheMessage) {
    QTest::mouseClick(window->超级按钮1, Qt::LeftButton);
    EXPECT_EQ(messages, (std::vector<std::string>{"请先选择一集再观看哦|64|提示："}));
    EXPECT_EQ(playback::miniPlayer(), nullptr);
}

TEST_F(MiniPlayerTest, PlayOpensTheMiniPlayerOnTheChosenEpisode) {
    chooseEpisode(12);
    playback::MiniPlayerWindow *player = play();
    ASSERT_NE(player, nullptr);
    const std::string name = u8(catalog::tables()[TableId::JapaneseTitles].value(12));
    EXPECT_EQ(title(player), "正在播放：  第12集  " + name);
    EXPECT_EQ(playback::currentEpisode, 12);
    EXPECT_EQ(player->组合框1->count(), catalog::tables()[TableId::JapaneseTitles].rowCount());
    EXPECT_EQ(player->组合框1->currentIndex(), 11);
    EXPECT_EQ(player->组合框1->currentText().toStdString(), "第12集  " + name);
    ASSERT_EQ(player->组合框2->count(), 1);
    EXPECT_EQ(player->组合框2->itemText(0).toStdString(), "搜狐");
    EXPECT_EQ(page(), playback::playerPageText(playback::sohuIdPageTemplate(),
                                               catalog::tables()[TableId::JapaneseSohuIds].value(12)));
    EXPECT_TRUE(messages.empty());

    // The real browser loads the page file.
    ASSERT_TRUE(waitForLoads(1));
    EXPECT_TRUE(lastLoadOk);
    EXPECT_EQ(webView(player)->url(), QUrl::fromLocalFile(QString::fromStdString(ui::playerPagePath.get())));

    // Activating the window again refills nothing.
    player->fillIfNeeded();
    QTest::qWait(300);
    EXPECT_EQ(loadsStarted, 1);

    // A second play request reuses the window and loads the new episode in place.
    player->showMinimized();
    chooseEpisode(13);
    EXPECT_EQ(play(), player);
    EXPECT_FALSE(player->isMinimized());
    EXPECT_EQ(player->组合框1->currentIndex(), 12);
    ASSERT_TRUE(waitForLoads(2));
}

TEST_F(MiniPlayerTest, PlayAfterARealClickOnARow) {
    const QModelIndex row = window->超级列表框1->model()->index(11, 1);
    window->超级列表框1->scrollTo(row);
    QTest::mouseClick(window->超级列表框1->viewport(), Qt::LeftButton, {}, window->超级列表框1->visualRect(row).center());
    ASSERT_TRUE(testsupport::waitForWorkers());
    playback::MiniPlayerWindow *player = play();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(title(player), "正在播放：  第12集  " + u8(catalog::tables()[TableId::JapaneseTitles].value(12)));
    EXPECT_EQ(playback::currentPlayId.get(), catalog::tables()[TableId::JapaneseSohuIds].value(12));
    ASSERT_TRUE(waitForLoads(1));
}

TEST_F(MiniPlayerTest, PreviousAndNextSteps) {
    const int last = catalog::tables()[TableId::JapaneseTitles].rowCount();
    chooseEpisode(1);
    playback::MiniPlayerWindow *player = play();
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(waitForLoads(1));
    QTest::mouseClick(player->超级按钮1, Qt::LeftButton);
    EXPECT_EQ(messages, (std::vector<std::string>{"已经是第一集了哦！|64|温馨提示："}));

    // Choosing the item of the playing episode reloads nothing.
    player->组合框1->setCurrentIndex(0);
    emit player->组合框1->activated(0);
    QTest::qWait(300);
    EXPECT_EQ(loadsStarted, 1);
    EXPECT_EQ(playback::currentEpisode, 1);

    // Next from episode 7 plays episode 8.
    player->组合框1->setCurrentIndex(6);
    emit player->组合框1->activated(6);
    EXPECT_EQ(playback::currentEpisode, 7);
    ASSERT_TRUE(waitForLoads(2));
    QTest::mouseClick(player->超级按钮2, Qt::LeftButton);
    EXPECT_EQ(playback::currentEpisode, 8);
    EXPECT_EQ(player->组合框1->currentIndex(), 7);
    EXPECT_EQ(player->windowTitle(), QStringLiteral("正在播放：  ") + player->组合框1->itemText(7));
    EXPECT_EQ(page(), playback::playerPageText(playback::sohuIdPageTemplate(),
                                               catalog::tables()[TableId::JapaneseSohuIds].value(8)));
    ASSERT_TRUE(waitForLoads(3));

    // Previous goes back; on the last item next refuses.
    QTest::mouseClick(player->超级按钮1, Qt::LeftButton);
    EXPECT_EQ(playback::currentEpisode, 7);
    ASSERT_TRUE(waitForLoads(4));
    player->组合框1->setCurrentIndex(last - 1);
    emit player->组合框1->activated(last - 1);
    EXPECT_EQ(playback::currentEpisode, last);
    ASSERT_TRUE(waitForLoads(5));
    messages.clear();
    QTest::mouseClick(player->超级按钮2, Qt::LeftButton);
    EXPECT_EQ(messages, (std::vector<std::string>{"已经是最后一集了哦！|64|温馨提示："}));
    QTest::qWait(300);
    EXPECT_EQ(loadsStarted, 5);
    EXPECT_EQ(playback::currentEpisode, last);
}

TEST_F(MiniPlayerTest, SiteListsAndSiteSwitching) {
    const auto &t = catalog::tables();
    chooseEpisode(5, true);
    playback::MiniPlayerWindow *player = play();
    ASSERT_NE(player, nullptr);
    ASSERT_EQ(player->组合框2->count(), 3);
    EXPECT_EQ(player->组合框2->itemText(0).toStdString(), "搜狐");
    EXPECT_EQ(player->组合框2->itemText(1).toStdString(), "乐视");
    EXPECT_EQ(player->组合框2->itemText(2).toStdString(), "爱奇艺");
    EXPECT_EQ(player->组合框2->currentIndex(), 0);
    EXPECT_EQ(player->组合框1->count(), t[TableId::MandarinTitles].rowCount());
    EXPECT_EQ(page(), playback::playerPageText(playback::sohuVidPageTemplate(), t[TableId::MandarinSohuIds].value(5)));
    ASSERT_TRUE(waitForLoads(1));
    // The watch finds the browser's render widget and stops.
    ASSERT_TRUE(testsupport::waitUntil([&] { return !player->时钟1->isActive(); }));
    EXPECT_NE(player->flashWindow(), nullptr);

    // Sohu to iQiyi: the iQiyi page, no watch.
    player->组合框2->setCurrentIndex(2);
    emit player->组合框2->activated(2);
    EXPECT_EQ(page(), playback::playerPageText(playback::iqiyiPageTemplate(), t[TableId::MandarinIqiyiIds].value(5)));
    EXPECT_FALSE(player->时钟1->isActive());
    ASSERT_TRUE(waitForLoads(2));
    // Back to Sohu: the watch runs again.
    player->组合框2->setCurrentIndex(0);
    emit player->组合框2->activated(0);
    EXPECT_TRUE(player->时钟1->isActive());
    EXPECT_EQ(page(), playback::playerPageText(playback::sohuVidPageTemplate(), t[TableId::MandarinSohuIds].value(5)));
    ASSERT_TRUE(waitForLoads(3));

    // The chosen site is kept across closing and reopening.
    player->组合框2->setCurrentIndex(1);
    emit player->组合框2->activated(1);
    ASSERT_TRUE(waitForLoads(4));
    player->close();
    ASSERT_TRUE(testsupport::waitUntil([] { return playback::miniPlayer() == nullptr; }));
    chooseEpisode(6, true);
    player = play();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->组合框2->currentIndex(), 1);
    EXPECT_EQ(page(), playback::playerPageText(playback::letvPageTemplate(), t[TableId::MandarinLetvIds].value(6)));
    ASSERT_TRUE(waitForLoads(5));

    // Movies: only LeTV, the movie's id whatever the audio.
    catalog::currentSeries.set(text::gbk(catalog::kSeriesMovies));
    playback::currentEpisode = 3;
    playback::playingCaption.set(text::gbk("正在播放：  第3集  ") + t[TableId::MovieTitles].value(3));
    playback::openMiniPlayer();
    ASSERT_EQ(player->组合框2->count(), 1);
    EXPECT_EQ(player->组合框2->itemText(0).toStdString(), "乐视");
    EXPECT_EQ(player->组合框1->count(), t[TableId::MovieTitles].rowCount());
    EXPECT_EQ(player->组合框1->currentIndex(), 2);
    EXPECT_EQ(page(), playback::playerPageText(playback::letvPageTemplate(), t[TableId::MovieVideoIds].value(3)));
    ASSERT_TRUE(waitForLoads(6));
    EXPECT_TRUE(messages.empty());
}

TEST_F(MiniPlayerTest, MarkedEpisodeOpensTheCoverPageAfterTheMessage) {
    chooseEpisode(687);
    playback::MiniPlayerWindow *player = play();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(page(), playback::playerPageText(playback::sohuIdPageTemplate(), "*x0020slaexf"));
    EXPECT_EQ(messages, (std::vector<std::string>{"即将跳转到新窗口进行播放...|64|提示：",
                                                  "open:http://v.qq.com/cover/5/53q0eh78q97e4d1/x0020slaexf.html"}));
    ASSERT_TRUE(waitForLoads(1));
}

TEST_F(MiniPlayerTest, OnTopFollowsTheCheckBox) {
    chooseEpisode(2);
    playback::MiniPlayerWindow *player = play();
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(waitForLoads(1));
    EXPECT_FALSE(player->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const QRect placement = player->geometry();
    QTest::mouseClick(player->选择框1, Qt::LeftButton);
    EXPECT_TRUE(player->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(player->isVisible());
    EXPECT_EQ(player->geometry(), placement);
    QTest::mouseClick(player->选择框1, Qt::LeftButton);
    EXPECT_FALSE(player->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(player->isVisible());
    EXPECT_EQ(player->geometry(), placement);
}

TEST_F(MiniPlayerTest, TooFewIdsForTheSiteKeepTheLastId) {
    // A Japanese episode chosen, then the audio switched to Mandarin with LeTV left from before:
    // the list holds one id where LeTV needs the second.
    chooseEpisode(4);
    catalog::currentAudio.set(text::gbk(catalog::kAudioMandarin));
    playback::currentSite.set(text::gbk("乐视"));
    playback::currentPlayId.set("1573908");
    playback::MiniPlayerWindow *player = play();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(playback::currentPlayId.get(), "1573908");
    EXPECT_EQ(page(), playback::playerPageText(playback::letvPageTemplate(), "1573908"));
    ASSERT_TRUE(waitForLoads(1));
    // Switching to iQiyi writes no page rather than one with a missing id.
    player->组合框2->setCurrentIndex(2);
    emit player->组合框2->activated(2);
    EXPECT_FALSE(ui::fileExists(ui::playerPagePath.get()));
    ASSERT_TRUE(waitForLoads(2));
}

TEST_F(MiniPlayerTest, SizeLimitsAndLayout) {
    chooseEpisode(2);
    playback::MiniPlayerWindow *player = play();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->size(), QSize(976, 646));
    EXPECT_EQ(player->超文本浏览框1->geometry(), QRect(-2, -2, 980, 566));
    EXPECT_EQ(player->外形框1->geometry(), QRect(-2, 564, 980, 15));
    EXPECT_EQ(player->超级按钮1->geometry(), QRect(15, 565, 72, 32));
    EXPECT_EQ(player->超级按钮2->geometry(), QRect(102, 565, 72, 32));
    EXPECT_EQ(player->组合框1->geometry(), QRect(199, 567, 526, 28));
    EXPECT_EQ(player->标签1->geometry(), QRect(728, 569, 56, 24));
    EXPECT_EQ(player->组合框2->geometry(), QRect(787, 567, 100, 23));
    EXPECT_EQ(player->选择框1->geometry(), QRect(894, 571, 56, 24));

    player->resize(699, 391);
    EXPECT_EQ(player->组合框1->width(), 249);
    player->resize(300, 200);
    EXPECT_EQ(player->size(), QSize(699, 391));
    player->resize(6000, 6000);
    EXPECT_EQ(player->maximumSize(), QSize(5000, 5000));
    EXPECT_LE(player->width(), 5000);
    EXPECT_LE(player->height(), 5000);
    ASSERT_TRUE(waitForLoads(1));
}

TEST_F(MiniPlayerTest, RightClicksNeverReachThePageOnceTheWatchFoundIt) {
    chooseEpisode(3);
    playback::MiniPlayerWindow *player = play();
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(waitForLoads(1));
    ASSERT_TRUE(lastLoadOk);
    ASSERT_TRUE(testsupport::waitUntil([&] { return !player->时钟1->isActive(); }));
    QWidget *render = player->flashWindow();
    ASSERT_NE(render, nullptr);
    EXPECT_EQ(render, player->超文本浏览框1->focusProxy());

    QWebEnginePage *page = webView(player)->page();
    bool ready = false;
    page->runJavaScript(QStringLiteral("window.seen = [];"
                                       "for (const kind of ['mousedown', 'mouseup', 'contextmenu'])"
                                       "  document.addEventListener(kind, e => seen.push(kind + e.button), true);"
                                       "true"),
                        [&](const QVariant &) { ready = true; });
    ASSERT_TRUE(testsupport::waitUntil([&] { return ready; }));
    auto seen = [&] {
        QString result;
        bool done = false;
        page->runJavaScript(QStringLiteral("seen.join(',')"), [&](const QVariant &v) {
            result = v.toString();
            done = true;
        });
        testsupport::waitUntil([&] { return done; });
        return result.toStdString();
    };

    const QPoint middle(render->width() / 2, render->height() / 2);
    QTest::mouseClick(render, Qt::RightButton, {}, middle);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, middle, render->mapToGlobal(middle));
    QCoreApplication::sendEvent(render, &menu);
    // A left click does reach the page: the recording works.
    QTest::mouseClick(render, Qt::LeftButton, {}, middle);
    ASSERT_TRUE(testsupport::waitUntil([&] { return !seen().empty(); }));
    QTest::qWait(200);
    EXPECT_EQ(seen(), "mousedown0,mouseup0");
    // Without the watch's filter the same right click does reach the page.
    render->removeEventFilter(player);
    QTest::mouseClick(render, Qt::RightButton, {}, middle);
    ASSERT_TRUE(testsupport::waitUntil([&] { return seen() != "mousedown0,mouseup0"; }));
    EXPECT_EQ(seen().rfind("mousedown0,mouseup0,mousedown2", 0), 0u) << seen();

    // The page refuses new windows: asking for one makes no second page and no window.
    const int windows = QApplication::topLevelWidgets().size();
    ready = false;
    page->runJavaScript(QStringLiteral("window.open('about:blank'); true"), [&](const QVariant &) { ready = true; });
    ASSERT_TRUE(testsupport::waitUntil([&] { return ready; }));
    QTest::qWait(300);
    EXPECT_EQ(player->超文本浏览框1->findChildren<QWebEnginePage *>().size(), 1);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
}

} // namespace
