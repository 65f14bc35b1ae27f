#include "ui/EpisodeListModel.h"

#include "text/Gbk.h"

namespace ui {

const std::string &EpisodeRow::cell(int column) const {
    static const std::string kEmpty;
    return (column >= 1 && column <= 7) ? cells[static_cast<size_t>(column - 1)] : kEmpty;
}

EpisodeRow makeEpisodeRow(std::array<std::string, 7> cells) {
    EpisodeRow row;
    row.number = QString::fromStdString(text::gbkToUtf8(cells[0]));
    row.title = QString::fromStdString(text::gbkToUtf8(cells[1]));
    row.cells = std::move(cells);
    return row;
}

int EpisodeListModel::rowCount(const QModelIndex &parent) const {
    if (parent.isValid())
        return 0;
    return all_ ? static_cast<int>(rows_->size()) : static_cast<int>(indices_.size());
}

int EpisodeListModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : kColumns; }

const EpisodeRow *EpisodeListModel::row(int index) const {
    if (index < 0 || index >= rowCount())
        return nullptr;
    const size_t at = all_ ? static_cast<size_t>(index) : static_cast<size_t>(indices_[static_cast<size_t>(index)]);
    return &(*rows_)[at];
}

std::string EpisodeListModel::cell(int index, int column) const {
    const EpisodeRow *r = row(index);
    return r ? r->cell(column) : std::string();
}

QVariant EpisodeListModel::data(const QModelIndex &index, int role) const {
    const EpisodeRow *r = row(index.row());
    if (!r)
        return {};
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case 1:
            return r->number;
        case 2:
            return r->title;
        default:
            return {};
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return int(Qt::AlignCenter);
    if (role == Qt::ToolTipRole && index.column() == 2)
        return r->title;
    return {};
}

void EpisodeListModel::setRows(EpisodeRows rows) {
    beginResetModel();
    rows_ = rows ? std::move(rows) : std::make_shared<const std::vector<EpisodeRow>>();
    indices_.clear();
    all_ = true;
    endResetModel();
}

void EpisodeListModel::setRows(EpisodeRows rows, std::vector<int> indices) {
    beginResetModel();
    rows_ = rows ? std::move(rows) : std::make_shared<const std::vector<EpisodeRow>>();
    std::erase_if(indices, [&](int i) { return i < 0 || i >= static_cast<int>(rows_->size()); });
    indices_ = std::move(indices);
    all_ = false;
    endResetModel();
}

void EpisodeListModel::clear() { setRows(std::make_shared<const std::vector<EpisodeRow>>()); }

int EpisodeListModel::insertRow(std::array<std::string, 7> cells) {
    // Copy on write: a worker's snapshot of the old rows stays valid.
    auto grown = std::make_shared<std::vector<EpisodeRow>>();
    const int count = rowCount();
    grown->reserve(static_cast<size_t>(count) + 1);
    for (int i = 0; i < count; ++i)
        grown->push_back(*row(i));
    beginInsertRows({}, count, count);
    grown->push_back(makeEpisodeRow(std::move(cells)));
    rows_ = std::move(grown);
    indices_.clear();
    all_ = true;
    endInsertRows();
    return count;
}

} // namespace ui
