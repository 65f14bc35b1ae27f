#include "catalog/Catalog.h"
#include "text/Gbk.h"
#include "text/Text.h"

#include <gtest/gtest.h>

#include <regex>

using catalog::TableId;

namespace {

struct TableForm {
    TableId id;
    int rows;
    const char *pattern; // every value matches it (ECMAScript, on the bytes)
};

// Titles are checked for their GBK byte length separately.
const TableForm kForms[] = {
    {TableId::MandarinSohuIds, 775, "[0-9]{6,7}"},
    {TableId::MandarinLetvIds, 775, "[0-9]{7,8}"},
    {TableId::MandarinIqiyiIds, 775, "[0-9a-f]{32}&tvId=[0-9]{6,9}"},
    {TableId::MandarinThumbUrls, 775,
     "http://pic[0-9]\\.iqiyipic\\.com/image/[0-9]{8}/[0-9a-f]{2}/[0-9a-f]{2}/v_[0-9]+_m_601_160_90\\.jpg"},
    {TableId::MandarinPptvIds, 775, "[A-Za-z0-9]{15,19}"},
    {TableId::JapaneseSohuIds, 773, "[0-9]{8}|\\*[a-z0-9]{11}"},
    {TableId::MovieVideoIds, 18, "[0-9]{6,8}"},
    {TableId::MovieYoukuIds, 18, "X[A-Za-z0-9]{12}"},
};

class CatalogTest : public testing::Test {
protected:
    void SetUp() override { catalog::buildTables(); }
    const catalog::Table &table(TableId id) { return catalog::tables()[id]; }
};

TEST_F(CatalogTest, CompiledTablesHaveTheirRowCountsAndValueForms) {
    for (const TableForm &form : kForms) {
        const catalog::Table &t = table(form.id);
        ASSERT_EQ(t.rowCount(), form.rows) << catalog::tableName(form.id);
        const std::regex pattern(form.pattern);
        for (int n = 1; n <= t.rowCount(); ++n)
            EXPECT_TRUE(std::regex_match(t.value(n), pattern)) << catalog::tableName(form.id) << " row " << n;
    }
    int tencent = 0;
    for (int n = 1; n <= 773; ++n)
        tencent += table(TableId::JapaneseSohuIds).value(n).starts_with('*');
    EXPECT_EQ(tencent, 14);
}

TEST_F(CatalogTest, TitlesAreGbkWithinTheirByteLengths) {
    struct Titles {
        TableId id;
        int rows;
        size_t shortest, longest;
    };
    for (const Titles &t : {Titles{TableId::MandarinTitles, 775, 8, 42}, Titles{TableId::JapaneseTitles, 773, 8, 38},
                            Titles{TableId::MovieTitles, 18, 8, 16}}) {
        ASSERT_EQ(table(t.id).rowCount(), t.rows);
        for (int n = 1; n <= t.rows; ++n) {
            const std::string &title = table(t.id).value(n);
            EXPECT_GE(title.size(), t.shortest) << n;
            EXPECT_LE(title.size(), t.longest) << n;
            EXPECT_EQ(text::gbkToUtf8(title).find("\xEF\xBF\xBD"), std::string::npos) << "not GBK: row " << n;
        }
    }
}

TEST_F(CatalogTest, CompiledListsAreNumberedWithoutFinalLineEnd) {
    for (int i = 0; i < catalog::kTableCount; ++i) {
        const auto id = static_cast<TableId>(i);
        const std::string_view list = catalog::compiledList(id);
        ASSERT_FALSE(list.empty()) << catalog::tableName(id);
        EXPECT_FALSE(list.ends_with("\r\n")) << catalog::tableName(id);
        const auto rows = text::splitLines(list);
        for (size_t n = 0; n < rows.size(); ++n)
            ASSERT_TRUE(rows[n].starts_with(std::to_string(n + 1) + "-")) << catalog::tableName(id) << " " << n;
    }
}

TEST_F(CatalogTest, OutsideIndexReadsEmpty) {
    EXPECT_EQ(table(TableId::MovieTitles).value(0), "");
    EXPECT_EQ(table(TableId::MovieTitles).value(19), "");
    EXPECT_EQ(table(TableId::MovieTitles).value(-5), "");
}

TEST_F(CatalogTest, NewlyAiredMergeAppendsGoodLinesAndSkipsShortOnes) {
    const std::string file = "774|t1|12345678\r\n"
                             "\r\n"                      // empty line
                             "bad line\r\n"              // one field
                             "x|y\r\n"                   // two fields
                             "775|t2|*v0000000000|extra\r\n"
                             "776|a-b|87654321\r"        // CR without LF: joins the next line
                             "777|c|11111111\r\n"
                             "778|\xFF\xFE|22222222\r\n"; // not GBK: kept as bytes
    EXPECT_EQ(catalog::mergeNewlyAired(file), 4);
    const catalog::Table &titles = table(TableId::JapaneseTitles);
    const catalog::Table &ids = table(TableId::JapaneseSohuIds);
    ASSERT_EQ(titles.rowCount(), 777);
    ASSERT_EQ(ids.rowCount(), 777);
    EXPECT_EQ(titles.value(774), "t1");
    EXPECT_EQ(ids.value(774), "12345678");
    EXPECT_EQ(titles.value(775), "t2");
    EXPECT_EQ(ids.value(775), "*v0000000000");
    EXPECT_EQ(titles.value(776), "b"); // the part after the title's last "-"
    EXPECT_EQ(ids.value(776), "87654321\r777");
    EXPECT_EQ(titles.value(777), "\xFF\xFE");
}

TEST_F(CatalogTest, NewlyAiredMergeCopesWithAHugeFile) {
    std::string file;
    for (int n = 0; n < 100000; ++n)
        file += std::to_string(774 + n) + "|t|12345678\r\n";
    EXPECT_EQ(catalog::mergeNewlyAired(file), 100000);
    EXPECT_EQ(table(TableId::JapaneseTitles).rowCount(), 100773);
    EXPECT_EQ(catalog::mergeNewlyAired(""), 0);
}

} // namespace
