// The click on an episode row: the detail area, the play ids, and the thumbnail worker.

#include "PreviewTest.h"

#include "app/Pictures.h"
#include "catalog/Catalog.h"
#include "net/HttpRequest.h"
#include "net/Services.h"
#include "playback/PlaybackState.h"
#include "text/Gbk.h"
#include "ui/Controls.h"
#include "ui/EpisodeDetails.h"

namespace previewtest {
namespace {

using catalog::TableId;

class EpisodeClickTest : public PreviewTest {
protected:
    std::string thumbnailShown() const { return window->画板1->backgroundPictureBytes(); }
    static std::string noPreview() { return app::pictureBytes("no_preview.jpg"); }
};

TEST_F(EpisodeClickTest, JapaneseClickShowsNoPreviewAndFetchesNothing) {
    clickRow(window->超级列表框1, 4);
    const catalog::Catalog &t = catalog::tables();
    EXPECT_TRUE(window->图片框2->isHidden());
    EXPECT_EQ(ui::caption(window->标签4), text::gbk("名侦探岚影  第5集"));
    EXPECT_EQ(ui::caption(window->标签5), t[TableId::JapaneseTitles].value(5));
    EXPECT_EQ(ui::caption(window->标签1), text::gbk("暂无预览"));
    EXPECT_EQ(ui::caption(window->标签7), "00:00:00");
    EXPECT_EQ(thumbnailShown(), noPreview());
    EXPECT_EQ(window->进度条1->value(), 1);
    EXPECT_EQ(window->进度条1->maximum(), 1000);
    EXPECT_FALSE(window->进度条1->isEnabled());
    EXPECT_EQ(window->episodeDetails()->selectedEpisodeIds(),
              std::vector<std::string>{t[TableId::JapaneseSohuIds].value(5)});
    EXPECT_EQ(playback::selectedIds(), std::vector<std::string>{t[TableId::JapaneseSohuIds].value(5)});

    // Nothing went out.
    ASSERT_TRUE(testsupport::waitForWorkers());
    EXPECT_EQ(thumbnailRequestCount(), 0);
    EXPECT_EQ(requestCount(net::kPptvPageHost), 0);
    EXPECT_EQ(requestCount(net::kPptvImageHost), 0);

    // A second click leaves the banner hidden.
    clickRow(window->超级列表框1, 0);
    EXPECT_TRUE(window->图片框2->isHidden());
    EXPECT_EQ(ui::caption(window->标签4), text::gbk("名侦探岚影  第1集"));
}

TEST_F(EpisodeClickTest, MandarinClickFetchesTheThumbnailOnceAndShowsIt) {
    chooseAudio(1);
    clickRow(window->超级列表框1, 11);
    ASSERT_TRUE(waitForPreview());

    EXPECT_EQ(window->episodeDetails()->selectedEpisodeIds(),
              (std::vector<std::string>{mandarin(TableId::MandarinSohuIds, 12), mandarin(TableId::MandarinLetvIds, 12),
                                        mandarin(TableId::MandarinIqiyiIds, 12)}));
    EXPECT_EQ(playback::selectedIds(), window->episodeDetails()->selectedEpisodeIds());
    EXPECT_EQ(ui::selectedThumbUrl.get(), mandarin(TableId::MandarinThumbUrls, 12));
    EXPECT_EQ(ui::selectedPptvId.get(), mandarin(TableId::MandarinPptvIds, 12));

    ASSERT_EQ(thumbnailRequestCount(), 1);
    const std::string address = mandarin(TableId::MandarinThumbUrls, 12);
    const std::string expected = net::httpRequest(address); // the simulator draws the same picture again
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(thumbnailShown(), expected);
    EXPECT_FALSE(window->画板1->picture().isNull());
}

TEST_F(EpisodeClickTest, ThreeQuickClicksEndWithTheThirdEpisode) {
    chooseAudio(1);
    servicesim::Scenario scenario;
    scenario.durations = {{mandarin(TableId::MandarinPptvIds, 1), 1440},
                          {mandarin(TableId::MandarinPptvIds, 2), 3725},
                          {mandarin(TableId::MandarinPptvIds, 3), 600}};
    sim().setScenario(scenario);
    for (int row : {0, 1, 2})
        clickRow(window->超级列表框1, row);
    ASSERT_TRUE(waitForPreview());

    EXPECT_EQ(thumbnailShown(), net::httpRequest(mandarin(TableId::MandarinThumbUrls, 3)));
    EXPECT_EQ(ui::caption(window->标签1), "00:10:00");
    EXPECT_EQ(window->进度条1->maximum(), 99);
    EXPECT_TRUE(window->进度条1->isEnabled());
    EXPECT_EQ(window->slidePreview()->tilesMaximum(), 99);
    ASSERT_EQ(window->slidePreview()->tiles()->size(), 99u);
    // The last show page asked for is the third episode's.
    const auto pages = sim().requestsTo(net::kPptvPageHost);
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(pages.back().path, "/show/" + mandarin(TableId::MandarinPptvIds, 3) + ".html");
}

TEST_F(EpisodeClickTest, EmptyThumbnailAnswerShowsNoPreview) {
    chooseAudio(1);
    for (std::string_view host : net::kIqiyiPictureHosts)
        sim().setFault(host, servicesim::Fault::EmptyBody);
    window->画板1->setBackgroundPicture(std::string("not this"));
    clickRow(window->超级列表框1, 0);
    ASSERT_TRUE(waitForPreview());
    EXPECT_EQ(thumbnailRequestCount(), 1);
    EXPECT_EQ(thumbnailShown(), noPreview());
}

TEST_F(EpisodeClickTest, NameWrapsFromThirtyOneBytes) {
    // Rows with names of 30 and 31 GBK bytes, clicked like any other row.
    auto *list = window->超级列表框1;
    const std::string thirty(30, 'a'), thirtyOne(31, 'b');
    const int first = list->episodes()->insertRow({"901", thirty, "s", {}, {}, {}, {}});
    const int second = list->episodes()->insertRow({"902", thirtyOne, "s", {}, {}, {}, {}});
    clickRow(list, first);
    EXPECT_FALSE(window->标签5->wordWrap());
    EXPECT_EQ(ui::caption(window->标签4), text::gbk("名侦探岚影  第901集"));
    clickRow(list, second);
    EXPECT_TRUE(window->标签5->wordWrap());
    EXPECT_EQ(ui::caption(window->标签5), thirtyOne);
}

} // namespace
} // namespace previewtest
