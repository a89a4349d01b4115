// The ROM list as a Qt model: one row per listed file, three columns (file name, the Chinese
// name or chosen alias, the English name) for the three lists of the encyclopedia face.
#pragma once

#include <QAbstractTableModel>

#include "frontend/model/rom_list.h"
#include "frontend/model/rom_list_sort.h"
#include "frontend/ui/cartdesk_data.h"

namespace wrenfold {

class RomListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { kFileNameColumn, kChineseNameColumn, kEnglishNameColumn, kColumnCount };

  explicit RomListModel(const CartdeskData& data, QObject* parent = nullptr);

  void SetList(RomList list);
  const RomList& List() const { return m_list; }

  // nullptr outside the list.
  const RomListEntry* Entry(int row) const;
  // The entry's recognition record, when it has exactly one.
  const RecognitionRecord* MatchedRecord(int row) const;

  // Re-orders the entries; the rows follow.
  void Sort(RomListSortKey key);

  // The Chinese-name column of `row` after its alias choice changed.
  void RefreshChineseName(int row);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  const CartdeskData& m_data;
  RomList m_list;
};

}  // namespace wrenfold
