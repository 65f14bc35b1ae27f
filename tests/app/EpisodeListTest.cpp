#include "MainWindowFixture.h"

#include "catalog/Catalog.h"
#include "text/Gbk.h"
#include "ui/Controls.h"
#include "ui/Files.h"

#include <QCoreApplication>
#include <QMouseEvent>

namespace {

using catalog::TableId;

class EpisodeListTest : public MainWindowTest {
protected:
    void chooseAudio(int index) {
        window->组合框2->setCurrentIndex(index);
        emit window->组合框2->activated(index);
        ASSERT_TRUE(testsupport::waitForWorkers());
    }
    void chooseSeries(int index) {
        window->组合框1->setCurrentIndex(index);
        emit window->组合框1->activated(index);
        ASSERT_TRUE(testsupport::waitForWorkers());
    }
    // Types into the search field the way a user does: focus, then one key per character.
    void search(const QString &text) {
        window->编辑框1->setFocus();
        QCoreApplication::processEvents();
        window->编辑框1->selectAll();
        testsupport::typeText(window->编辑框1, text);
        ASSERT_TRUE(testsupport::waitForWorkers());
    }
    // The rows of the shown list whose number and title, joined, contain `needle` (case-sensitive).
    std::vector<int> expectedMatches(const QString &needle) const {
        std::vector<int> rows;
        const ui::EpisodeListModel *list = window->超级列表框1->episodes();
        for (int i = 0; i < list->rowCount(); ++i)
            if ((list->row(i)->number + list->row(i)->title).contains(needle, Qt::CaseSensitive))
                rows.push_back(i);
        return rows;
    }
    std::vector<int> shownResults() const {
        std::vector<int> rows;
        const ui::EpisodeListModel *results = window->超级列表框2->episodes();
        for (int i = 0; i < results->rowCount(); ++i)
            rows.push_back(std::stoi(results->cell(i, 1)) - 1);
        return rows;
    }
};

TEST_F(EpisodeListTest, ListHoldsTheChosenAudio) {
    ASSERT_EQ(listRows(), 773);
    const ui::EpisodeListModel *list = window->超级列表框1->episodes();
    const catalog::Catalog &t = catalog::tables();
    EXPECT_EQ(list->cell(0, 1), "1");
    EXPECT_EQ(list->cell(772, 2), t[TableId::JapaneseTitles].value(773));
    EXPECT_EQ(list->cell(772, 3), t[TableId::JapaneseSohuIds].value(773));
    for (int column = 4; column <= 7; ++column)
        EXPECT_EQ(list->cell(5, column), "");

    chooseAudio(1);
    ASSERT_EQ(listRows(), 775);
    EXPECT_EQ(window->标签11->text(), "775");
    EXPECT_TRUE(catalog::currentAudio.equals(text::gbk("国语")));
    const TableId mandarin[] = {TableId::MandarinTitles,    TableId::MandarinSohuIds,   TableId::MandarinLetvIds,
                                TableId::MandarinIqiyiIds,  TableId::MandarinThumbUrls, TableId::MandarinPptvIds};
    for (int row : {0, 400, 774}) {
        EXPECT_EQ(list->cell(row, 1), std::to_string(row + 1));
        for (int column = 2; column <= 7; ++column)
            EXPECT_EQ(list->cell(row, column), t[mandarin[column - 2]].value(row + 1)) << row << " " << column;
    }

    // Choosing the same audio again changes nothing: no refill, the selection stays.
    window->超级列表框1->selectRow(10);
    chooseAudio(1);
    EXPECT_EQ(window->超级列表框1->currentRow(), 10);

    chooseAudio(0);
    EXPECT_EQ(listRows(), 773);
    EXPECT_EQ(window->标签11->text(), "773");
}

TEST_F(EpisodeListTest, JapaneseListAsLongAsTheMandarinOneStillSwitches) {
    ASSERT_TRUE(ui::writeFile(documents.file("岚影迷_最新集数.txt"), "774|a|12345678\r\n775|b|12345679\r\n"));
    start();
    ASSERT_EQ(listRows(), 775);
    chooseAudio(1);
    EXPECT_EQ(window->超级列表框1->episodes()->cell(0, 2), catalog::tables()[TableId::MandarinTitles].value(1));
    chooseAudio(0);
    EXPECT_EQ(window->超级列表框1->episodes()->cell(774, 2), "b");
}

TEST_F(EpisodeListTest, SearchMatchesNumberAndTitleJoined) {
    search("12");
    EXPECT_FALSE(window->超级列表框2->isHidden());
    EXPECT_FALSE(window->画板4->isHidden());
    const std::vector<int> expected = expectedMatches("12");
    EXPECT_EQ(shownResults(), expected);
    EXPECT_EQ(window->标签8->text(), QString("搜索到 %1 个结果").arg(expected.size()));
    EXPECT_FALSE(window->标签8->isHidden());
    // 12, 112, 120..129, 212, ..., 712 contain "12" through their number alone.
    EXPECT_GE(expected.size(), 18u);
    EXPECT_EQ(ui::textColor(window->编辑框1), 0xFF8800u);
}

TEST_F(EpisodeListTest, SearchIsCaseSensitiveForAsciiLetters) {
    // Find an upper-case ASCII letter that occurs in some title.
    QChar letter;
    const ui::EpisodeListModel *list = window->超级列表框1->episodes();
    for (int i = 0; i < list->rowCount() && letter.isNull(); ++i)
        for (QChar ch : list->row(i)->title)
            if (ch >= 'A' && ch <= 'Z') {
                letter = ch;
                break;
            }
    ASSERT_FALSE(letter.isNull()) << "no title with an ASCII capital";
    search(letter);
    const std::vector<int> upper = shownResults();
    EXPECT_EQ(upper, expectedMatches(letter));
    ASSERT_FALSE(upper.empty());
    search(letter.toLower());
    EXPECT_EQ(shownResults(), expectedMatches(letter.toLower()));
    EXPECT_NE(shownResults(), upper);
}

TEST_F(EpisodeListTest, NoResultShowsThePicture) {
    search("没有这样的集");
    EXPECT_TRUE(window->超级列表框2->isHidden());
    EXPECT_FALSE(window->图片框1->isHidden());
    EXPECT_EQ(window->标签8->text(), "搜索到 0 个结果");
    EXPECT_FALSE(window->标签8->isHidden());
}

TEST_F(EpisodeListTest, TypingThePlaceholderKeepsThePreviousResults) {
    // "查" filters; the keystroke that makes it "查找" starts nothing.
    search("查找");
    EXPECT_EQ(window->编辑框1->text(), "查找");
    EXPECT_EQ(shownResults(), expectedMatches("查"));
    EXPECT_EQ(window->标签8->text(), QString("搜索到 %1 个结果").arg(expectedMatches("查").size()));
}

TEST_F(EpisodeListTest, CrossAndFocusReturnToNormalMode) {
    search("3");
    ASSERT_FALSE(window->超级列表框2->isHidden());
    const QPointF centre(6, 6);
    QMouseEvent press(QEvent::MouseButtonPress, centre, window->画板4->mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->画板4, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, window->画板4->mapToGlobal(centre), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->画板4, &release);
    ASSERT_TRUE(testsupport::waitForWorkers());
    EXPECT_TRUE(window->超级列表框2->isHidden());
    EXPECT_TRUE(window->标签8->isHidden());
    EXPECT_TRUE(window->画板4->isHidden());
    EXPECT_EQ(window->编辑框1->text(), "");
    // Leaving the empty field shows the placeholder again, in grey.
    window->图片框3->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->编辑框1->text(), "查找");
    EXPECT_EQ(ui::textColor(window->编辑框1), 0xC0C0C0u);
}

TEST_F(EpisodeListTest, QuickKeystrokesEndWithTheLastTextsResults) {
    window->编辑框1->setFocus();
    QCoreApplication::processEvents();
    testsupport::typeText(window->编辑框1, "1234");
    window->编辑框1->backspace();
    window->编辑框1->backspace();
    ASSERT_TRUE(testsupport::waitForWorkers());
    EXPECT_EQ(window->编辑框1->text(), "12");
    EXPECT_EQ(shownResults(), expectedMatches("12"));
}

TEST_F(EpisodeListTest, MoviePageAndBack) {
    chooseAudio(1);
    search("5");
    chooseSeries(1);
    EXPECT_EQ(window->高级选择夹1->currentIndex(), 1);
    EXPECT_FALSE(window->编辑框1->isEnabled());
    EXPECT_EQ(window->标签11->text(), "18");
    EXPECT_EQ(window->编辑框1->text(), "查找");
    EXPECT_TRUE(catalog::currentSeries.equals(text::gbk("剧场版")));

    // The audio chosen while the movies are shown decides the list on return.
    window->组合框2->setCurrentIndex(0);
    emit window->组合框2->activated(0);
    chooseSeries(0);
    EXPECT_EQ(window->高级选择夹1->currentIndex(), 0);
    EXPECT_TRUE(window->编辑框1->isEnabled());
    EXPECT_TRUE(window->超级列表框2->isHidden());
    EXPECT_EQ(listRows(), 773);
    EXPECT_EQ(window->标签11->text(), "773");
    EXPECT_TRUE(catalog::currentAudio.equals(text::gbk("日语")));
    EXPECT_TRUE(catalog::currentSeries.equals(text::gbk("TV版")));
}

} // namespace
