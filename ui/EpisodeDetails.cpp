#include "ui/EpisodeDetails.h"

#include "net/HttpRequest.h"
#include "text/Gbk.h"
#include "ui/Controls.h"
#include "ui/Runtime.h"

namespace ui {

std::mutex thumbnailLock;
text::SharedText selectedThumbUrl;
text::SharedText selectedPptvId;

namespace {
// A name this long (in GBK bytes) or longer is wrapped over the label's two lines.
constexpr size_t kWrapFromBytes = 31;
} // namespace

EpisodeDetails::EpisodeDetails(const EpisodeDetailsControls &controls, std::string noPreviewImage,
                               SlidePreview *preview, QObject *parent)
    : QObject(parent), c_(controls), noPreviewImage_(std::move(noPreviewImage)), preview_(preview) {}

void EpisodeDetails::onRowClicked(EpisodeListView *list) {
    if (!c_.banner->isHidden())
        c_.banner->hide();
    const int row = list->currentRow();
    // A row that does not exist reads as empty cells.
    auto cell = [&](int column) { return row < 0 ? std::string() : list->episodes()->cell(row, column); };

    c_.titleLine->setText(toQString(text::gbk("名侦探岚影  第") + cell(1) + text::gbk("集")));
    const std::string name = cell(2);
    c_.name->setWordWrap(name.size() >= kWrapFromBytes);
    c_.name->setText(toQString(name));
    c_.previewBar->setRange(0, 1000);
    c_.previewBar->setValue(1);
    c_.previewBar->setEnabled(false);
    c_.previewTime->setText(QStringLiteral("00:00:00"));

    if (c_.audioChoice->currentIndex() == 0) {
        selectedEpisodeIds_ = {cell(3)};
        emit episodeIdsSelected(selectedEpisodeIds_);
        c_.thumbnail->setBackgroundPicture(noPreviewImage_);
        c_.previewState->setText(QStringLiteral("暂无预览"));
        return;
    }
    selectedEpisodeIds_ = {cell(3), cell(4), cell(5)};
    emit episodeIdsSelected(selectedEpisodeIds_);
    selectedThumbUrl.set(cell(6));
    selectedPptvId.set(cell(7));

    startWorker([thumbnail = QPointer<PictureBox>(c_.thumbnail), noPreview = noPreviewImage_] {
        fetchThumbnail(thumbnail, noPreview);
    });
    if (preview_)
        preview_->startLoader();
}

void EpisodeDetails::fetchThumbnail(const QPointer<PictureBox> &thumbnail, const std::string &noPreviewImage) {
    std::lock_guard lock(thumbnailLock);
    if (shuttingDown())
        return;
    // The address current now, not the one of the click that started this worker: after a burst
    // of clicks every waiting worker fetches the last one.
    const std::string body = net::httpRequest(selectedThumbUrl.get());
    // The bytes go to the canvas as they came; it decodes them when it draws.
    runOnGui([&] {
        if (thumbnail)
            thumbnail->setBackgroundPicture(body.empty() ? noPreviewImage : body);
    });
}

} // namespace ui
