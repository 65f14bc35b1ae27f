#include "playback/PlayRequest.h"

#include "playback/MiniPlayerWindow.h"
#include "playback/PlaybackState.h"
#include "text/Gbk.h"
#include "text/Text.h"
#include "ui/Controls.h"
#include "ui/Runtime.h"

#include <QPointer>

#include <cstdlib>

namespace playback {
namespace {

QPointer<MiniPlayerWindow> g_miniPlayer;

} // namespace

MiniPlayerWindow *miniPlayer() { return g_miniPlayer; }

void openMiniPlayer() {
    miniPlayerFilled.store(false);
    if (!g_miniPlayer) {
        g_miniPlayer = new MiniPlayerWindow;
        g_miniPlayer->setAttribute(Qt::WA_DeleteOnClose);
        g_miniPlayer->show();
    }
    if (g_miniPlayer->isMinimized())
        g_miniPlayer->showNormal();
    g_miniPlayer->raise();
    g_miniPlayer->activateWindow();
    // The fill belongs to the activation; a window manager may refuse to activate the window or
    // activate it later, and the episode must play all the same. A later activation finds the
    // window filled and does nothing.
    g_miniPlayer->fillIfNeeded();
}

void closeMiniPlayer() { delete g_miniPlayer.data(); }

ListPlayRequest::ListPlayRequest(const ListPlayControls &controls, QObject *parent) : QObject(parent), c_(controls) {
    connect(c_.playButton, &QPushButton::clicked, this, [this] { onPlayClicked(); });
}

ListPlayRequest::~ListPlayRequest() { closeMiniPlayer(); }

void ListPlayRequest::onPlayClicked() {
    if (selectedEpisodeIds.equals("")) {
        ui::messageBox(text::gbk("请先选择一集再观看哦"), ui::Information, text::gbk("提示："));
        return;
    }
    const std::string number = text::textBetween(ui::caption(c_.episodeHeading), text::gbk("第"), text::gbk("集"));
    const int episode = std::atoi(number.c_str());
    // A heading without an episode number has nothing to play.
    if (episode < 1)
        return;
    currentEpisode.store(episode);
    playingCaption.set(text::gbk("正在播放：  第") + std::to_string(episode) + text::gbk("集  ") +
                       ui::caption(c_.episodeTitle));
    openMiniPlayer();
}

} // namespace playback
