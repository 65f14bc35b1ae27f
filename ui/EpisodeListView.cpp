#include "ui/EpisodeListView.h"

#include "ui/Runtime.h"

#include <QHeaderView>
#include <QPointer>

namespace ui {

EpisodeListView::EpisodeListView(QWidget *parent) : QTableView(parent), model_(new EpisodeListModel(this)) {
    setModel(model_);
    // The lists use the program font (see programFont()): 微软雅黑 where it exists.
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
    // Colours through the palette rather than a style sheet, which would slow every paint.
    setFrameShape(QFrame::NoFrame);
    QPalette colours = palette();
    colours.setColor(QPalette::AlternateBase, QColor(0xf6, 0xf8, 0xfb));
    colours.setColor(QPalette::Highlight, QColor(0x3d, 0x8e, 0xe0));
    colours.setColor(QPalette::HighlightedText, Qt::white);
    setPalette(colours);
    // Opaque, so that a list lying over another (the search results over the episodes) spares
    // the one beneath from being painted.
    setAutoFillBackground(true);
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
