#include "frontend/ui/rom_list_model.h"

#include "frontend/ui/captions.h"

namespace wrenfold {

RomListModel::RomListModel(const CartdeskData& data, QObject* parent)
    : QAbstractTableModel(parent), m_data(data) {}

void RomListModel::SetList(RomList list) {
  beginResetModel();
  m_list = std::move(list);
  endResetModel();
}

const RomListEntry* RomListModel::Entry(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= m_list.entries.size()) return nullptr;
  return &m_list.entries[static_cast<size_t>(row)];
}

const RecognitionRecord* RomListModel::MatchedRecord(int row) const {
  const RomListEntry* entry = Entry(row);
  if (entry == nullptr || !entry->HasMatch()) return nullptr;
  const auto& records = m_data.recognition.records;
  if (static_cast<size_t>(entry->recordIndex) >= records.size()) return nullptr;
  return &records[static_cast<size_t>(entry->recordIndex)];
}

void RomListModel::Sort(RomListSortKey key) {
  emit layoutAboutToBeChanged();
  SortRomList(m_list.entries, m_data.recognition.records, key);
  // Rows hold no persistent indexes worth carrying over: the lists re-select by row.
  emit layoutChanged();
}

void RomListModel::RefreshChineseName(int row) {
  if (Entry(row) == nullptr) return;
  const QModelIndex cell = index(row, kChineseNameColumn);
  emit dataChanged(cell, cell, {Qt::DisplayRole});
}

int RomListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_list.entries.size());
}

int RomListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant RomListModel::data(const QModelIndex& index, int role) const {
  const RomListEntry* entry = Entry(index.row());
  if (entry == nullptr || role != Qt::DisplayRole) return {};
  const RomListRow row =
      RomListRowTexts(*entry, m_data.recognition.records, m_data.aliasChoice.Slots());
  switch (index.column()) {
    case kFileNameColumn:
      // File names are bytes on Linux; show what cannot be decoded rather than dropping it.
      return QString::fromLocal8Bit(row.fileName.data(),
                                    static_cast<qsizetype>(row.fileName.size()));
    case kChineseNameColumn:
      return FromUtf8(row.chineseColumn);
    case kEnglishNameColumn:
      return FromUtf8(row.englishColumn);
    default:
      return {};
  }
}

}  // namespace wrenfold
