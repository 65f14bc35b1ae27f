#include "ui/EpisodeList.h"

#include "catalog/Catalog.h"
#include "text/Gbk.h"
#include "text/Text.h"
#include "ui/Controls.h"
#include "ui/Runtime.h"

#include <QEvent>
#include <QPointer>

namespace ui {

std::mutex listLock;

namespace {

// Forwards focus changes of the search field to the episode list.
class FocusWatcher : public QObject {
public:
    FocusWatcher(EpisodeList *list, QObject *parent) : QObject(parent), list_(list) {}
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::FocusIn)
            list_->onSearchFocusIn();
        else if (event->type() == QEvent::FocusOut)
            list_->onSearchFocusOut();
        return QObject::eventFilter(watched, event);
    }

private:
    EpisodeList *list_;
};

// Builds the rows of the TV list for one audio from the catalogue.
EpisodeRows catalogueRows(bool mandarin) {
    using catalog::TableId;
    const catalog::Catalog &t = catalog::tables();
    auto rows = std::make_shared<std::vector<EpisodeRow>>();
    const int count = t[mandarin ? TableId::MandarinTitles : TableId::JapaneseTitles].rowCount();
    rows->reserve(static_cast<size_t>(count));
    for (int n = 1; n <= count; ++n) {
        if (mandarin) {
            rows->push_back(makeEpisodeRow({std::to_string(n), t[TableId::MandarinTitles].value(n),
                                            t[TableId::MandarinSohuIds].value(n), t[TableId::MandarinLetvIds].value(n),
                                            t[TableId::MandarinIqiyiIds].value(n),
                                            t[TableId::MandarinThumbUrls].value(n),
                                            t[TableId::MandarinPptvIds].value(n)}));
        } else {
            rows->push_back(makeEpisodeRow({std::to_string(n), t[TableId::JapaneseTitles].value(n),
                                            t[TableId::JapaneseSohuIds].value(n), {}, {}, {}, {}}));
        }
    }
    return rows;
}

int titleRowCount(bool mandarin) {
    return catalog::tables()[mandarin ? catalog::TableId::MandarinTitles : catalog::TableId::JapaneseTitles]
        .rowCount();
}

} // namespace

const QString &EpisodeList::placeholder() {
    static const QString kPlaceholder = QStringLiteral("查找");
    return kPlaceholder;
}

EpisodeList::EpisodeList(const EpisodeListControls &controls, QObject *parent) : QObject(parent), c_(controls) {
    connect(c_.seriesChoice, &QComboBox::activated, this, &EpisodeList::onSeriesChosen);
    connect(c_.audioChoice, &QComboBox::activated, this, &EpisodeList::onAudioChosen);
    connect(c_.searchField, &QLineEdit::textChanged, this, &EpisodeList::onSearchTextChanged);
    connect(c_.clearCross, &PictureBox::leftButtonReleased, this, &EpisodeList::onClearCrossReleased);
    c_.searchField->installEventFilter(new FocusWatcher(this, this));
}

void EpisodeList::startFillOrFilterJob() {
    startWorker([self = QPointer<EpisodeList>(this)] { fillOrFilter(self); });
}

void EpisodeList::fillOrFilter(const QPointer<EpisodeList> &self) {
    std::lock_guard lock(listLock);
    if (shuttingDown())
        return;
    // One visit to the GUI thread reads everything the job needs, as one consistent snapshot.
    struct Snapshot {
        bool alive = false, searching = false, hasRows = false, mandarin = false;
        EpisodeRows rows;
        QString searchText;
    } now;
    runOnGui([&] {
        if (!self)
            return;
        const EpisodeListControls &c = self->c_;
        now.alive = true;
        now.searching = self->searching();
        now.rows = c.allEpisodes->episodes()->rows();
        now.hasRows = !now.rows->empty();
        now.mandarin = c.audioChoice->currentIndex() > 0;
        now.searchText = c.searchField->text();
        if (!now.searching)
            c.resultCount->hide();
    });
    if (!now.alive)
        return;
    if (now.searching)
        filter(self, now.rows, now.searchText);
    else if (!now.hasRows)
        fill(self, now.mandarin);
}

// Every step on the GUI thread first checks that the list still exists: the window may close
// while a job runs.
void EpisodeList::filter(const QPointer<EpisodeList> &self, const EpisodeRows &rows, const QString &searchText) {
    const std::string needle = fromQString(searchText);
    std::vector<int> matches;
    std::string joined;
    for (size_t i = 0; i < rows->size(); ++i) {
        const EpisodeRow &row = (*rows)[i];
        joined.assign(row.cells[0]).append(row.cells[1]);
        // An empty search text (the field emptied while the job ran) occurs in every row.
        if (needle.empty() || text::findForward(joined, needle, 1, false) > 0)
            matches.push_back(static_cast<int>(i));
    }
    const int found = static_cast<int>(matches.size());
    runOnGui([&] {
        if (!self)
            return;
        const EpisodeListControls &c = self->c_;
        // A later change of the search text has started (or ended) a search of its own.
        if (c.searchField->text() != searchText || !self->searching())
            return;
        // All matching rows arrive in one model reset: the list is redrawn once, not per row.
        c.searchResults->episodes()->setRows(rows, std::move(matches));
        c.resultCount->setText(QStringLiteral("搜索到 %1 个结果").arg(found));
        c.resultCount->show();
        if (found == 0 && !needle.empty()) {
            c.searchResults->hide();
            c.noResultPicture->show();
            c.resultCount->setText(QStringLiteral("搜索到 0 个结果"));
        } else {
            c.noResultPicture->hide();
            c.searchResults->show();
        }
        if (needle.empty())
            c.resultCount->hide();
    });
}

void EpisodeList::fill(const QPointer<EpisodeList> &self, bool mandarin) {
    EpisodeRows rows = catalogueRows(mandarin); // built off the GUI thread
    runOnGui([&] {
        if (!self)
            return;
        const EpisodeListControls &c = self->c_;
        // The audio changed meanwhile: its own job fills the list.
        if (c.allEpisodes->episodes()->rowCount() > 0 || (c.audioChoice->currentIndex() > 0) != mandarin)
            return;
        c.allEpisodes->episodes()->setRows(std::move(rows));
    });
}

bool EpisodeList::searching() const {
    // A search that found nothing shows the no-result picture in place of the results.
    return !c_.searchResults->isHidden() || !c_.noResultPicture->isHidden();
}

void EpisodeList::showPlaceholder() {
    c_.searchField->setText(placeholder());
    setTextColor(c_.searchField, kPlaceholderColor);
}

void EpisodeList::onSeriesChosen(int index) {
    showPlaceholder();
    c_.clearCross->hide();
    c_.magnifier->setFocus(Qt::OtherFocusReason);
    if (index == 0 && c_.pages->currentIndex() == 1) {
        const bool mandarin = c_.audioChoice->currentIndex() == 1;
        catalog::currentSeries.set(text::gbk(catalog::kSeriesTv));
        catalog::currentAudio.set(text::gbk(mandarin ? catalog::kAudioMandarin : catalog::kAudioJapanese));
        c_.searchField->setEnabled(true);
        c_.searchResults->hide();
        c_.noResultPicture->hide();
        c_.allEpisodes->episodes()->clear();
        c_.episodeCount->setText(QString::number(titleRowCount(mandarin)));
        startFillOrFilterJob();
        c_.pages->setCurrentIndex(0);
    } else if (index == 1 && c_.pages->currentIndex() == 0) {
        catalog::currentSeries.set(text::gbk(catalog::kSeriesMovies));
        c_.searchField->setEnabled(false);
        c_.episodeCount->setText(QString::number(catalog::tables()[catalog::TableId::MovieTitles].rowCount()));
        c_.pages->setCurrentIndex(1);
    }
    releaseHoverCapture();
}

void EpisodeList::onAudioChosen(int index) {
    if (c_.seriesChoice->currentIndex() != 0 || index < 0)
        return;
    const bool mandarin = index == 1;
    // Compare with the audio shown rather than with row counts: once newly aired episodes bring
    // the Japanese list to the Mandarin count, counts no longer tell the two apart.
    const std::string audio = text::gbk(mandarin ? catalog::kAudioMandarin : catalog::kAudioJapanese);
    if (catalog::currentAudio.equals(audio))
        return;
    catalog::currentAudio.set(audio);
    showPlaceholder();
    c_.clearCross->hide();
    c_.searchResults->hide();
    c_.noResultPicture->hide();
    c_.allEpisodes->episodes()->clear();
    c_.episodeCount->setText(QString::number(titleRowCount(mandarin)));
    startFillOrFilterJob();
    c_.magnifier->setFocus(Qt::OtherFocusReason);
}

void EpisodeList::onListClosed() { c_.previewTimeLabel->setFocus(Qt::OtherFocusReason); }

void EpisodeList::onSearchFocusIn() {
    if (c_.searchField->text() == placeholder() && textColor(c_.searchField) == kPlaceholderColor) {
        c_.searchField->clear();
        setTextColor(c_.searchField, kSearchTextColor);
    }
}

void EpisodeList::onSearchFocusOut() {
    if (c_.searchField->text().isEmpty())
        showPlaceholder();
}

void EpisodeList::onSearchTextChanged(const QString &text) {
    if (text.isEmpty()) {
        c_.resultCount->hide();
        c_.noResultPicture->hide();
        c_.searchResults->hide();
        c_.clearCross->hide();
    } else if (text != placeholder()) {
        c_.clearCross->show();
        c_.searchResults->show();
        startFillOrFilterJob();
    }
}

void EpisodeList::onClearCrossReleased() {
    c_.clearCross->hide();
    c_.searchField->clear();
}

} // namespace ui
