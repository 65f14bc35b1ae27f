#pragma once
// The click on an episode row: the detail area's title line and name, the reset of the preview
// bar, the chosen episode's play ids, and for a Mandarin episode its thumbnail (fetched on a
// worker) and the slide preview loader.

#include "text/SharedText.h"
#include "ui/EpisodeListView.h"
#include "ui/PictureBox.h"
#include "ui/SlidePreview.h"

#include <QComboBox>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QProgressBar>

#include <mutex>
#include <string>
#include <vector>

namespace ui {

// The main window's controls the click works with.
struct EpisodeDetailsControls {
    QComboBox *audioChoice;   // 组合框2: item 0 Japanese, item 1 Mandarin
    PictureBox *banner;       // 图片框2: covers the detail area until the first click
    QLabel *titleLine;        // 标签4
    QLabel *name;             // 标签5
    PictureBox *thumbnail;    // 画板1
    QProgressBar *previewBar; // 进度条1
    QLabel *previewTime;      // 标签7
    QLabel *previewState;     // 标签1
};

// Held by a thumbnail worker for the whole of its run, so fetches follow one another.
extern std::mutex thumbnailLock;
// The thumbnail address and PPTV id of the Mandarin episode last clicked (GBK), read by the workers.
extern text::SharedText selectedThumbUrl;
extern text::SharedText selectedPptvId;

class EpisodeDetails : public QObject {
    Q_OBJECT
public:
    // `noPreviewImage`: the picture shown when there is no thumbnail. `preview` gets a loader
    // for every Mandarin click.
    EpisodeDetails(const EpisodeDetailsControls &controls, std::string noPreviewImage, SlidePreview *preview,
                   QObject *parent = nullptr);

    // The click handler of either episode list, GUI thread.
    void onRowClicked(EpisodeListView *list);

    // The play ids of the episode last clicked: Japanese [Sohu]; Mandarin [Sohu, LeTV, iQiyi].
    const std::vector<std::string> &selectedEpisodeIds() const { return selectedEpisodeIds_; }

    // The thumbnail worker, on the calling thread: fetches the address selectedThumbUrl holds
    // once it gets its turn and shows it (or the no-preview picture) on `thumbnail`.
    static void fetchThumbnail(const QPointer<PictureBox> &thumbnail, const std::string &noPreviewImage);

signals:
    // Every click publishes the new play ids, whole.
    void episodeIdsSelected(const std::vector<std::string> &ids);

private:
    EpisodeDetailsControls c_;
    std::string noPreviewImage_;
    QPointer<SlidePreview> preview_;
    std::vector<std::string> selectedEpisodeIds_;
};

} // namespace ui
