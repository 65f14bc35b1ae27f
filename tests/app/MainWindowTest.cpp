#include "MainWindowFixture.h"

#include "app/Configuration.h"
#include "catalog/Catalog.h"
#include "text/Gbk.h"
#include "ui/Controls.h"
#include "ui/Files.h"
#include "ui/ProgramState.h"

#include <QDir>
#include <QMenuBar>

namespace {

TEST_F(MainWindowTest, FirstStartWritesConfigurationAndEmptyEpisodeFile) {
    const std::string section = text::gbk("版本号");
    EXPECT_EQ(ui::readFile(documents.file("岚影迷_配置.ini")).value_or("<none>"),
              "[" + section + "]\r\n" + section + "=1.2\r\n");
    EXPECT_EQ(ui::readFile(documents.file("岚影迷_最新集数.txt")).value_or("<none>"), "");
    EXPECT_EQ(ui::localVersion.get(), "1.2");
    EXPECT_EQ(window->标签11->text(), "773");
    EXPECT_EQ(listRows(), 773);
    EXPECT_EQ(window->windowTitle(), "岚影迷");
}

TEST_F(MainWindowTest, NewlyAiredEpisodesJoinTheListAndTheCount) {
    ASSERT_TRUE(ui::writeFile(documents.file("岚影迷_最新集数.txt"),
                              "774|t1|12345678\r\n\r\n775|" + text::gbk("新-标题") + "|*v0000000000\r\n"));
    start();
    EXPECT_EQ(window->标签11->text(), "775");
    ASSERT_EQ(listRows(), 775);
    const ui::EpisodeListModel *list = window->超级列表框1->episodes();
    EXPECT_EQ(list->cell(773, 1), "774");
    EXPECT_EQ(list->cell(773, 2), "t1");
    EXPECT_EQ(list->cell(774, 2), text::gbk("标题"));
    EXPECT_EQ(list->cell(774, 3), "*v0000000000");
    EXPECT_EQ(list->cell(774, 4), "");
}

TEST_F(MainWindowTest, StartsWithoutAUsableDocumentsFolder) {
    // Files that cannot be written or read: directories stand where they belong.
    window.reset();
    ui::deleteFile(documents.file("岚影迷_配置.ini"));
    ui::deleteFile(documents.file("岚影迷_最新集数.txt"));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(documents.file("岚影迷_配置.ini"))));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(documents.file("岚影迷_最新集数.txt"))));
    start();
    EXPECT_EQ(ui::localVersion.get(), "1.2");
    EXPECT_EQ(listRows(), 773);
    EXPECT_EQ(window->标签11->text(), "773");

    // No documents folder at all.
    ui::setDocumentsFolderForTesting(documents.file("missing"));
    start();
    EXPECT_EQ(ui::configPath.get(), "");
    EXPECT_EQ(listRows(), 773);
    ui::setDocumentsFolderForTesting(documents.path());
}

TEST_F(MainWindowTest, ControlsStandWhereTheFormPutsThem) {
    struct Expected {
        const char *name;
        QRect geometry;
        bool visible;
    };
    const Expected controls[] = {
        {"标签12", {272, 61, 40, 27}, true},       {"标签11", {230, 61, 34, 27}, true},
        {"标签10", {185, 61, 40, 27}, true},       {"组合框2", {93, 61, 81, 27}, true},
        {"组合框1", {0, 61, 97, 27}, true},        {"高级选择夹1", {-1, 88, 393, 465}, true},
        {"超级列表框1", {0, 25, 393, 315}, true},  {"超级列表框2", {0, 25, 393, 315}, false},
        {"标签2", {0, 0, 61, 25}, true},           {"标签3", {60, 0, 333, 25}, true},
        {"标签8", {257, 1, 132, 23}, false},       {"图片框1", {1, 25, 391, 315}, false},
        {"画板1", {9, 347, 160, 90}, true},        {"图片框2", {170, 347, 220, 90}, true},
        {"标签4", {176, 349, 205, 17}, true},      {"标签5", {176, 366, 212, 37}, true},
        {"超级按钮1", {174, 405, 92, 31}, true},   {"画板5", {272, 405, 31, 31}, false},
        {"标签7", {9, 439, 55, 24}, true},         {"进度条1", {68, 445, 261, 13}, true},
        {"标签1", {334, 439, 54, 24}, true},       {"图片框4", {345, 40, 40, 32}, false},
        {"画板3", {345, 80, 16, 16}, false},       {"透明标签1", {289, 24, 100, 8}, false},
        {"外形框3", {1, 1, 391, 463}, true},       {"多功能条1", {372, 0, 24, 463}, true},
        {"外形框2", {1, 1, 367, 461}, true},       {"外形框1", {1, 1, 365, 2608}, true},
        {"外形框_边框", {16, 16, 164, 272}, true},  {"图片框5", {1, 1, 162, 230}, false},
        {"标签9", {1, 231, 162, 40}, true},        {"画板2", {9, 5, 128, 38}, true},
        {"图片框3", {169, 19, 15, 15}, true},      {"外形框4", {161, 12, 212, 30}, true},
        {"编辑框1", {31, 2, 152, 24}, true},       {"画板4", {193, 9, 12, 12}, false},
    };
    for (const Expected &e : controls) {
        auto *control = window->findChild<QWidget *>(QString::fromUtf8(e.name));
        ASSERT_NE(control, nullptr) << e.name;
        EXPECT_EQ(control->geometry(), e.geometry) << e.name;
        EXPECT_EQ(!control->isHidden(), e.visible) << e.name;
    }
    EXPECT_EQ(window->画板3->parentWidget(), window->图片框4);
    EXPECT_FALSE(window->进度条1->isEnabled());
    EXPECT_EQ(window->标签3->text(), QString(28, ' ') + "目录");
    EXPECT_EQ(window->编辑框1->text(), "查找");
    EXPECT_EQ(ui::textColor(window->编辑框1), 0xC0C0C0u);
    EXPECT_EQ(window->超级按钮1->text(), "播放");
    EXPECT_EQ(window->超级按钮1->toolTip(), "点击播放");
    // The poster page's scroll bar ends 5 pixels beyond the right edge of its frame.
    EXPECT_EQ(window->多功能条1->geometry().right() + 1, window->外形框3->width() + 5);
    EXPECT_FALSE(window->画板2->picture().isNull());
    EXPECT_FALSE(window->画板1->picture().isNull());
}

TEST_F(MainWindowTest, MenuBarHoldsTheProgramsMenus) {
    QStringList titles;
    for (QAction *action : window->menuBar()->actions())
        titles << action->text();
    EXPECT_EQ(titles, (QStringList{"即将添加", "更多", "留言", "关于", "其他动漫"}));
    const QList<QAction *> coming = window->menuBar()->actions().first()->menu()->actions();
    ASSERT_EQ(coming.size(), 2);
    EXPECT_FALSE(coming[0]->isEnabled());
    EXPECT_FALSE(coming[1]->isEnabled());
}

TEST_F(MainWindowTest, ClosingDeletesThePlayerPage) {
    const std::string page = ui::playerPagePath.get();
    ASSERT_FALSE(page.empty());
    EXPECT_TRUE(page.ends_with("岚影目录.htm"));
    ASSERT_TRUE(ui::writeFile(page, "<html></html>"));
    window->close();
    EXPECT_FALSE(ui::fileExists(page));
}

} // namespace
