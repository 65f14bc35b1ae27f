// The slide preview on the main window: the loader's outcomes and the hover over the bar.

#include "PreviewTest.h"

#include "Pictures.h"
#include "catalog/Catalog.h"
#include "imaging/PreviewFrames.h"
#include "net/Services.h"
#include "text/Gbk.h"
#include "ui/Controls.h"
#include "ui/SlidePreview.h"

#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <set>

namespace previewtest {
namespace {

using catalog::TableId;

// The share (in percent) of pixels of two same-sized pictures that differ clearly in some channel;
// 100 for pictures of different sizes. Decoding noise stays well below the threshold, the drawn
// digits of another frame do not.
double differingPixels(const QImage &a, const QImage &b) {
    if (a.size() != b.size() || a.isNull())
        return 100;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row), q = y.pixel(column, row);
            const int most = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                       std::abs(qBlue(p) - qBlue(q))});
            differing += most > 48;
        }
    }
    return 100.0 * differing / (x.width() * x.height());
}

// Frame k as the simulator drew it: its cell of the sprite sheet.
QImage drawnFrame(int k) {
    const int sheet = (k - 1) / 100, index = (k - 1) % 100;
    const std::string jpeg = servicesim::spriteSheetJpeg(sheet);
    const QImage whole = QImage::fromData(reinterpret_cast<const uchar *>(jpeg.data()), static_cast<int>(jpeg.size()));
    return whole.copy((index % 10) * 160, (index / 10) * 90, 160, 90);
}

QImage decoded(const std::string &bytes) {
    return QImage::fromData(reinterpret_cast<const uchar *>(bytes.data()), static_cast<int>(bytes.size()));
}

class SlidePreviewTest : public PreviewTest {
protected:
    // Chooses Mandarin and clicks episode n, then waits for its preview to load.
    void previewEpisode(int n) {
        chooseAudio(1);
        clickRow(window->超级列表框1, n - 1);
        ASSERT_TRUE(waitForPreview());
    }
    void setDuration(int n, int seconds) {
        servicesim::Scenario scenario = sim().scenario();
        scenario.durations[mandarin(TableId::MandarinPptvIds, n)] = seconds;
        sim().setScenario(scenario);
    }
    std::string sheetPath(int n, int sheet) const {
        return imaging::spriteSheetPath(servicesim::spriteIdFor(mandarin(TableId::MandarinPptvIds, n)), sheet);
    }
    bool boxShown() const {
        return !window->图片框4->isHidden() && !window->画板3->isHidden() && !window->透明标签1->isHidden();
    }
    bool boxHidden() const {
        return window->图片框4->isHidden() && window->画板3->isHidden() && window->透明标签1->isHidden();
    }
};

TEST_F(SlidePreviewTest, DurationOf1440Gives239FramesFromThreeSheets) {
    previewEpisode(7);
    EXPECT_EQ(sheetPaths(), (std::vector<std::string>{sheetPath(7, 0), sheetPath(7, 1), sheetPath(7, 2)}));
    EXPECT_EQ(sim().requestsTo(net::kPptvPageHost).size(), 1u);
    EXPECT_EQ(window->进度条1->maximum(), 239);
    EXPECT_TRUE(window->进度条1->isEnabled());
    EXPECT_TRUE(window->slidePreview()->ready());
    ASSERT_EQ(window->slidePreview()->tiles()->size(), 239u);
    EXPECT_EQ(ui::caption(window->标签1), "00:24:00");
    EXPECT_EQ(ui::textColor(window->标签1), ui::kPreviewReadyColor);
    EXPECT_EQ(window->标签1->palette().color(QPalette::WindowText), QColor(0, 128, 128));

    // The frame sits 12 pixels above the bar, the picture 2 pixels inside it, the pointer below.
    EXPECT_EQ(window->图片框4->geometry(), QRect(345, 445 - 90 - 12, 164, 94));
    EXPECT_EQ(window->画板3->geometry(), QRect(2, 2, 160, 90));
    EXPECT_EQ(window->透明标签1->geometry(), QRect(345, 343 + 94 - 2, 164, 8));
    EXPECT_TRUE(boxHidden());
}

TEST_F(SlidePreviewTest, FailedLoadsEndDisabledAtPositionOne) {
    struct Case {
        const char *what;
        int duration;       // -1: no duration field
        std::set<int> missingSheets;
        int maximum;        // the bar's maximum afterwards
        size_t sheetsAsked;
    };
    const Case cases[] = {
        {"no duration field", -1, {}, 1000, 0},
        {"sheet 1 missing", 1440, {1}, 239, 2},
        {"too short", 11, {}, 1000, 0},
        {"more than ten sheets", 6012, {}, 1001, 10},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        sim().clearRequests();
        servicesim::Scenario scenario;
        scenario.durations[mandarin(TableId::MandarinPptvIds, 3)] = c.duration;
        scenario.missingSpriteSheets = c.missingSheets;
        sim().setScenario(scenario);
        previewEpisode(3);
        EXPECT_EQ(ui::caption(window->标签1), text::gbk("加载失败"));
        EXPECT_EQ(ui::textColor(window->标签1), ui::kPreviewLoadingColor);
        EXPECT_FALSE(window->进度条1->isEnabled());
        EXPECT_EQ(window->进度条1->value(), 1);
        EXPECT_EQ(window->进度条1->maximum(), c.maximum);
        EXPECT_FALSE(window->slidePreview()->ready());
        EXPECT_EQ(sheetPaths().size(), c.sheetsAsked);
    }
}

TEST_F(SlidePreviewTest, ASuccessAfterAFailureIsReadyAgain) {
    setDuration(3, -1);
    previewEpisode(3);
    ASSERT_FALSE(window->slidePreview()->ready());
    setDuration(4, 3725);
    clickRow(window->超级列表框1, 3);
    ASSERT_TRUE(waitForPreview());
    EXPECT_TRUE(window->slidePreview()->ready());
    EXPECT_EQ(ui::caption(window->标签1), "01:02:05");
    EXPECT_EQ(window->进度条1->maximum(), 619);
}

TEST_F(SlidePreviewTest, HoverShowsTheFrameDrawnForThePosition) {
    previewEpisode(7);
    ASSERT_TRUE(window->slidePreview()->ready());
    ASSERT_EQ(window->进度条1->geometry(), QRect(68, 445, 261, 13));
    const int y = barMiddleY();

    // Client x 198 on the 261-pixel bar at 68: trunc(239 / 261 * 130) = 119.
    moveMouseTo(198, y);
    EXPECT_TRUE(ui::hoverCapture);
    EXPECT_EQ(QWidget::mouseGrabber(), window->进度条1);
    EXPECT_TRUE(boxShown());
    EXPECT_EQ(window->进度条1->value(), 119);
    EXPECT_EQ(ui::caption(window->标签7), "00:11:54");
    EXPECT_EQ(window->图片框4->x(), static_cast<int>(198 - 164 / 2.0 - 4));
    EXPECT_EQ(window->透明标签1->x(), window->图片框4->x() + 4);

    const std::string shown = window->画板3->backgroundPictureBytes();
    ASSERT_EQ(shown.substr(0, 2), "BM");
    const QImage frame = decoded(shown);
    ASSERT_EQ(frame.size(), QSize(160, 90));
    // The simulator's frame 119 (sheet 1, index 19), not its neighbours: only decoding noise apart.
    EXPECT_LT(differingPixels(frame, drawnFrame(119)), 0.5);
    EXPECT_GT(differingPixels(frame, drawnFrame(118)), 1.0);
    EXPECT_GT(differingPixels(frame, drawnFrame(120)), 1.0);

    if (const char *folder = std::getenv("LYM_PREVIEW_SHOTS"))
        window->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/hover.png"));

    // The left edge shows frame 1; past the right edge the frame is clamped to the last, then the
    // box hides and the capture is released.
    moveMouseTo(68, y);
    EXPECT_EQ(window->进度条1->value(), 1);
    EXPECT_EQ(ui::caption(window->标签7), "00:00:06");
    EXPECT_LT(differingPixels(decoded(window->画板3->backgroundPictureBytes()), drawnFrame(1)), 0.5);
    moveMouseTo(68 + 261 + 30, y);
    EXPECT_EQ(window->进度条1->value(), 239);
    EXPECT_EQ(ui::caption(window->标签7), "00:23:54");
    EXPECT_FALSE(ui::hoverCapture);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_TRUE(boxHidden());
}

TEST_F(SlidePreviewTest, MovingOntoThePictureHidesTheBox) {
    previewEpisode(7);
    moveMouseTo(198, barMiddleY());
    ASSERT_TRUE(boxShown());
    // The picture's own mouse move, as it arrives once the capture is gone.
    emit window->画板3->mouseMoved(QPoint(5, 5));
    EXPECT_FALSE(ui::hoverCapture);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_TRUE(boxHidden());
}

TEST_F(SlidePreviewTest, DisabledBarIsNotHovered) {
    moveMouseTo(198, barMiddleY());
    EXPECT_FALSE(ui::hoverCapture);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_TRUE(boxHidden());
}

} // namespace
} // namespace previewtest
