#include "line_monitor/qt/line_table_model.h"

#include <algorithm>
#include <string>

#include "line_monitor/line_export.h"
#include "platform/qt/utf8_text.h"

namespace rtceval::qt {

void LineTableModel::sync(const LineRing* lines) {
  const std::uint64_t end = lines ? lines->appended() : 0;
  const std::uint64_t first = lines ? end - lines->size() : 0;
  const std::uint64_t oldEnd = first_ + static_cast<std::uint64_t>(rows_);
  if (lines != lines_ || first > oldEnd || end < oldEnd) {
    // Nothing in common with what is shown: start afresh.
    if (lines == lines_ && first == first_ && end == oldEnd) return;
    beginResetModel();
    lines_ = lines;
    first_ = first;
    rows_ = static_cast<int>(end - first);
    endResetModel();
    return;
  }
  if (first > first_) {
    beginRemoveRows({}, 0, static_cast<int>(first - first_) - 1);
    rows_ -= static_cast<int>(first - first_);
    first_ = first;
    endRemoveRows();
  }
  if (end > oldEnd) {
    beginInsertRows({}, rows_, rows_ + static_cast<int>(end - oldEnd) - 1);
    rows_ += static_cast<int>(end - oldEnd);
    endInsertRows();
  }
}

std::optional<std::size_t> LineTableModel::ringIndex(int row) const {
  if (!lines_ || row < 0 || row >= rows_) return std::nullopt;
  const std::uint64_t ringFirst = lines_->appended() - lines_->size();
  const std::uint64_t line = first_ + static_cast<std::uint64_t>(row);
  if (line < ringFirst || line >= lines_->appended()) return std::nullopt;
  return static_cast<std::size_t>(line - ringFirst);
}

int LineTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int LineTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kLineColumnCount;
}

QVariant LineTableModel::data(const QModelIndex& index, int role) const {
  if (role == Qt::TextAlignmentRole && index.column() == 0)
    return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
  // A long frame or meaning that its column cuts short shows whole in the tooltip.
  const bool tip = role == Qt::ToolTipRole && index.column() >= 3;
  if (role != Qt::DisplayRole && !tip) return {};
  const auto at = ringIndex(index.row());
  if (!at) return {};
  return QString::fromStdString(columnText((*lines_)[*at], index.column()));
}

QVariant LineTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= kLineColumnCount)
    return {};
  return utf8(kLineColumns[section]);
}

}  // namespace rtceval::qt
