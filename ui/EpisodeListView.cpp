#include "ui/EpisodeListView.h"

#include "ui/Runtime.h"

#include <QHeaderView>
#include <QPointer>

namespace ui {

EpisodeListView::EpisodeListView(QWidget *parent) : QTableView(parent), model_(new EpisodeListModel(this)) {
    setModel(model_);
    QFont listFont = font();
    listFont.setFamilies({QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"),
                          QStringLiteral("Noto Sans CJK SC"), listFont.family()});
    listFont.setPixelSize(13);
    setFont(listFont);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(22);
    horizontalHeader()->setMinimumSectionSize(0);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setAlternatingRowColors(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFocusPolicy(Qt::StrongFocus);
    // Column 0 and the identifier columns 3 to 7 have width 0; 1 and 2 are the number and title.
    setColumnWidth(0, 0);
    setColumnHidden(0, true);
    setColumnWidth(1, 60);
    setColumnWidth(2, 312);
    for (int column = 3; column < EpisodeListModel::kColumns; ++column)
        setColumnHidden(column, true);
    horizontalHeader()->setStretchLastSection(false);
    setStyleSheet(QStringLiteral("QTableView { border: none; alternate-background-color: #f6f8fb; "
                                 "selection-background-color: #3d8ee0; selection-color: white; }"));
    connect(this, &QTableView::clicked, this, [this](const QModelIndex &index) { emit rowClicked(index.row()); });
}

int EpisodeListView::currentRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int EpisodeListView::rowCountAnyThread() const {
    QPointer<const EpisodeListView> guard(this);
    return readOnGui<int>([&] { return guard ? guard->model_->rowCount() : 0; });
}

std::string EpisodeListView::cellAnyThread(int row, int column) const {
    QPointer<const EpisodeListView> guard(this);
    return readOnGui<std::string>([&] { return guard ? guard->model_->cell(row, column) : std::string(); });
}

} // namespace ui
