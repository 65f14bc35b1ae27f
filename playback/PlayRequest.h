#pragma once
// The main window's "播放" button: plays the episode last clicked in the episode lists in the mini
// player, which is opened or brought back by openMiniPlayer.

#include <QLabel>
#include <QObject>
#include <QPushButton>

namespace playback {

class MiniPlayerWindow;

// Opens the mini player (or brings it back, restored and active) so that it fills itself for the
// episode in currentEpisode and playingCaption.
void openMiniPlayer();
// The open mini player, or nullptr.
MiniPlayerWindow *miniPlayer();
// Closes and destroys the mini player when it is open.
void closeMiniPlayer();

// The main window's controls the list play request works with.
struct ListPlayControls {
    QPushButton *playButton; // 超级按钮1
    QLabel *episodeHeading;  // 标签4: "名侦探岚影  第" + n + "集"
    QLabel *episodeTitle;    // 标签5
};

class ListPlayRequest : public QObject {
    Q_OBJECT
public:
    ListPlayRequest(const ListPlayControls &controls, QObject *parent = nullptr);
    // The main window goes away: so does the mini player.
    ~ListPlayRequest() override;

    // Click of 超级按钮1.
    void onPlayClicked();

private:
    ListPlayControls c_;
};

} // namespace playback
