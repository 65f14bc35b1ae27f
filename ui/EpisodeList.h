#pragma once
// The TV page's episode list and search: which series and audio are shown, the fill-or-filter job
// that fills the list on a worker and filters it by the search text, and the search field.

#include "ui/EpisodeListView.h"
#include "ui/PictureBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QStackedWidget>

#include <mutex>

namespace ui {

// The main window's controls the episode list works with.
struct EpisodeListControls {
    EpisodeListView *allEpisodes;    // 超级列表框1
    EpisodeListView *searchResults;  // 超级列表框2
    QLineEdit *searchField;          // 编辑框1
    QLabel *resultCount;             // 标签8
    PictureBox *noResultPicture;     // 图片框1
    PictureBox *clearCross;          // 画板4
    QComboBox *seriesChoice;         // 组合框1
    QComboBox *audioChoice;          // 组合框2
    QLabel *episodeCount;            // 标签11
    QStackedWidget *pages;           // 高级选择夹1
    QWidget *magnifier;              // 图片框3
    QWidget *previewTimeLabel;       // 标签7
};

// Held for the whole of every fill-or-filter job, so one job at a time changes the lists.
extern std::mutex listLock;

inline constexpr unsigned kPlaceholderColor = 0xC0C0C0; // light grey
inline constexpr unsigned kSearchTextColor = 0xFF8800;  // red 0, green 136, blue 255

class EpisodeList : public QObject {
    Q_OBJECT
public:
    EpisodeList(const EpisodeListControls &controls, QObject *parent = nullptr);

    // Starts one fill-or-filter job on a new worker thread.
    void startFillOrFilterJob();
    // The job itself, on the calling thread: takes listLock, then fills the list or, in search
    // mode, filters it. Does nothing once the list is gone.
    static void fillOrFilter(const QPointer<EpisodeList> &self);

    // Event handlers, on the GUI thread.
    void onSeriesChosen(int index);
    void onAudioChosen(int index);
    void onListClosed();
    void onSearchFocusIn();
    void onSearchFocusOut();
    void onSearchTextChanged(const QString &text);
    void onClearCrossReleased();

    // The placeholder shown in an empty search field, "查找".
    static const QString &placeholder();

private:
    void showPlaceholder();
    bool searching() const;
    static void filter(const QPointer<EpisodeList> &self, const EpisodeRows &rows, const QString &searchText);
    static void fill(const QPointer<EpisodeList> &self, bool mandarin);

    EpisodeListControls c_;
};

} // namespace ui
