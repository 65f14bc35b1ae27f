#pragma once
// The rows of an episode list view: a number and a title that are seen, and five identifier
// columns that travel with the row unseen (Sohu, LeTV and iQiyi ids, thumbnail address, PPTV id).
//
// Rows are held in an immutable shared block, so a worker can take a consistent snapshot of a
// whole list at once and the search results can hold the matching rows without copying them.

#include <QAbstractTableModel>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace ui {

struct EpisodeRow {
    std::array<std::string, 7> cells; // columns 1 to 7, GBK texts
    QString number;                   // columns 1 and 2 as shown
    QString title;
    const std::string &cell(int column) const; // 1-based; empty outside 1..7
};

using EpisodeRows = std::shared_ptr<const std::vector<EpisodeRow>>;

// Makes a row from its seven cell texts, converting the two visible ones for display.
EpisodeRow makeEpisodeRow(std::array<std::string, 7> cells);

class EpisodeListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Column 0 is an unused column of width 0; columns 1 to 7 are the cells of the row.
    static constexpr int kColumns = 8;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // Shows every row of `rows`.
    void setRows(EpisodeRows rows);
    // Shows the rows of `rows` at `indices` (0-based, ascending).
    void setRows(EpisodeRows rows, std::vector<int> indices);
    void clear();

    // The rows behind the list (all of them, not just those shown) and the shown indices.
    EpisodeRows rows() const { return rows_; }
    const EpisodeRow *row(int index) const; // nullptr outside the list
    std::string cell(int index, int column) const;

    // Appends one row and answers its 0-based index.
    int insertRow(std::array<std::string, 7> cells);

private:
    EpisodeRows rows_ = std::make_shared<const std::vector<EpisodeRow>>();
    std::vector<int> indices_; // empty with `all_`: every row is shown
    bool all_ = true;
};

} // namespace ui
