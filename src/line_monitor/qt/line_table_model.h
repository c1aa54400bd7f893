#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include <QAbstractTableModel>

#include "line_monitor/line_ring.h"

namespace rtceval::qt {

// The line monitor's lines as a table: one row per line kept, oldest first. Only the rows on the
// screen are asked for their texts, so a full ring costs nothing to show. `sync` brings the rows
// up to the ring: the lines the ring dropped or cleared leave at the top, new ones come in at
// the bottom, and the rows in between stay (with their selection).
class LineTableModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  // nullptr: the window's model is gone; no rows.
  void sync(const LineRing* lines);
  // The ring position of `row`, or nothing when the row is not in the ring any more.
  std::optional<std::size_t> ringIndex(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const LineRing* lines_ = nullptr;
  std::uint64_t first_ = 0;  // the line number (counted as the ring appends) of row 0
  int rows_ = 0;
};

}  // namespace rtceval::qt
