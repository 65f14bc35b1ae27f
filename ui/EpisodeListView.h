#pragma once
// A list view in report style for episodes: the number and title columns seen, the identifier
// columns carried unseen, one row selected at a time.

#include "ui/EpisodeListModel.h"

#include <QTableView>

namespace ui {

class EpisodeListView : public QTableView {
    Q_OBJECT
public:
    explicit EpisodeListView(QWidget *parent = nullptr);

    EpisodeListModel *episodes() const { return model_; }
    // The first selected row (0-based), or -1.
    int currentRow() const;
    // Any thread: the number of rows, or a cell (columns 1 to 7) of a row.
    int rowCountAnyThread() const;
    std::string cellAnyThread(int row, int column) const;

signals:
    // A row was clicked (0-based).
    void rowClicked(int row);

private:
    EpisodeListModel *model_;
};

} // namespace ui
