#include "ui/reports/SummaryModel.h"

#include "ui/app/Dialogs.h"

namespace mlk::ui {

void SummaryModel::SetTable(SummaryTable table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

int SummaryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(table_.rows.size());
}

int SummaryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(table_.columns.size());
}

QVariant SummaryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const TextRows::Row row = table_.rows[std::size_t(index.row())];
    const auto column = std::size_t(index.column());
    if (column >= row.size())
        return QString();
    const std::string_view cell = row[column];
    return QString::fromUtf8(cell.data(), qsizetype(cell.size()));
}

QVariant SummaryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    return Q(table_.columns[std::size_t(section)].title);
}

}  // namespace mlk::ui
