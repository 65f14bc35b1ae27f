#include "MainWindowFixture.h"

#include "app/Pictures.h"
#include "catalog/Catalog.h"
#include "ui/Controls.h"

#include <QCoreApplication>
#include <QWheelEvent>

namespace {

using PosterWallTest = MainWindowTest;

TEST_F(PosterWallTest, EighteenPostersInTwoColumns) {
    const ui::PosterWall *wall = window->posterWall();
    ASSERT_EQ(wall->posterFrames().size(), 18u);
    for (int n = 1; n <= 18; ++n) {
        const QFrame *frame = wall->posterFrames()[n - 1];
        EXPECT_EQ(frame->parentWidget(), window->外形框1);
        EXPECT_EQ(frame->geometry(), QRect((n - 1) % 2 == 0 ? 16 : 196, 16 + 288 * ((n - 1) / 2), 164, 272)) << n;
        const ui::PictureBox *picture = wall->posterPictures()[n - 1];
        EXPECT_EQ(picture->geometry(), QRect(1, 1, 162, 230));
        EXPECT_EQ(picture->property("tag").toString(), QString::number(n));
        char name[32];
        std::snprintf(name, sizeof name, "posters/poster_%02d.jpg", n);
        EXPECT_EQ(picture->backgroundPictureBytes(), app::pictureBytes(name)) << n;
        EXPECT_EQ(ui::fromQString(wall->posterCaptions()[n - 1]->text()),
                  catalog::tables()[catalog::TableId::MovieTitles].value(n));
    }
    EXPECT_EQ(window->外形框1->height(), 2608);
    EXPECT_EQ(window->多功能条1->maximum(), 2147);
    EXPECT_EQ(window->多功能条1->value(), 0);
    // The overlay and its button wait, hidden, inside the template picture.
    EXPECT_EQ(window->图片框6->parentWidget(), window->图片框5);
    EXPECT_EQ(window->按钮1->parentWidget(), window->图片框6);
    EXPECT_EQ(window->按钮1->geometry(), QRect(54, 88, 54, 54));
}

TEST_F(PosterWallTest, WheelScrollsSixtyPixelsANotchWithinTheBar) {
    auto wheel = [&](int notches) {
        QWheelEvent event(QPointF(5, 5), window->多功能条1->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(window->多功能条1, &event);
    };
    window->组合框1->setCurrentIndex(1);
    emit window->组合框1->activated(1);
    wheel(-1); // towards the user: down the wall
    EXPECT_EQ(window->多功能条1->value(), 60);
    EXPECT_EQ(window->外形框1->y(), -60);
    window->多功能条1->setValue(2147);
    wheel(-1);
    EXPECT_EQ(window->多功能条1->value(), 2147);
    EXPECT_EQ(window->外形框1->y(), -2147);
    wheel(2);
    EXPECT_EQ(window->多功能条1->value(), 2027);
}

} // namespace
