#pragma once

#include <QAbstractTableModel>

#include "reports/SummaryTable.h"

namespace mlk::ui {

// A summary table shown read-only, every cell centred. A model rather than one widget item per
// cell: a directory summary can run to hundreds of thousands of rows.
class SummaryModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit SummaryModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void SetTable(SummaryTable table);
    const SummaryTable& Table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    SummaryTable table_;
};

}  // namespace mlk::ui
