// The ROM list of the main window: the ROM directory box with its folder chooser, the filter
// box, the three parallel lists (file name, Chinese name, English name) with their sort
// buttons, the shared scroll bar, the name label, the database version and the FDS button.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "frontend/model/rom_list_sort.h"
#include "frontend/model/rom_signature.h"
#include "frontend/ui/cartdesk_data.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class QScrollBar;

namespace wrenfold {

class HoverHints;
class RomListModel;

class RomListPanel : public QWidget {
  Q_OBJECT
 public:
  explicit RomListPanel(CartdeskData& data, QWidget* parent = nullptr);

  RomListModel* Model() const { return m_model; }

  // `RomDir` and the directory box.
  void SetRomDirectory(const QString& directory);
  QString RomDirectory() const { return m_romDirectory; }
  QString RomDirectoryText() const;

  // Where the checksum function comes from; asked once per list build.
  void SetChecksumProvider(std::function<CalcCrcFunction()> provider) {
    m_checksum = std::move(provider);
  }

  // `Updatelist`: lists and identifies the ROM directory's files, reports problems, selects row 0.
  void Updatelist();

  // `ShowRomDetails`: makes `row` current in all three lists and announces it.
  void ShowRomDetails(int row);
  int CurrentRow() const { return m_currentRow; }

  // The file name of the row selected in the file-name list; "" when none is.
  std::string SelectedFileName() const;

  // Sorts by a column or the mapper number and refills the lists; the shown entry stays selected.
  void Sort(RomListSortKey key);

  // The name label: the Chinese name when true, else the English one.
  void SetShowChineseName(bool chinese);
  bool ShowsChineseName() const { return m_showChineseName; }

  // The alias popup of the Chinese-name column for `row`; nullptr when the row has no aliases.
  // The menu's actions carry the choice value as data.
  QMenu* BuildAliasMenu(int row);
  // `ChangeAlias`: the record of `row` takes alias choice `choice`.
  void ChangeAlias(int row, int16_t choice);

  void SetDatabaseVersion(const QString& text);

  // English leaves out the Chinese-name column; hints and the filter's placeholder follow.
  void ApplyLanguageLayout(int language);

  // Rows the filter box leaves in the lists, in list order: the files whose names hold every
  // word typed. A shown file that the filter hides gives way to the first one still shown.
  std::vector<int> VisibleRows() const;

  // "…": a folder chooser for the ROM directory, which is then read as if typed.
  void ChooseRomDirectory();

  HoverHints* Hints() const { return m_hints; }

 signals:
  // A row was shown: the header panel and the encyclopedia follow it.
  void romShown(int row);
  // The list was read afresh from the folder: files may have changed on disk.
  void listRebuilt();
  void fdsLoaderRequested();
  // A double-click on a row or Enter in a list: start the selected game.
  void startRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RomDirectoryEdited();
  void ApplyFilter();
  // ROMscroll to the current row's place among the rows shown.
  void SyncScrollBar();
  void FollowScroll(int value);
  void RefreshNameLabel();
  void OpenAliasMenu(int row, const QPoint& globalPosition);

  CartdeskData& m_data;
  RomListModel* m_model;
  std::function<CalcCrcFunction()> m_checksum;
  QString m_romDirectory;
  int m_currentRow = 0;
  bool m_showChineseName = false;
  bool m_syncing = false;

  QLineEdit* m_directoryBox = nullptr;
  QLineEdit* m_filterBox = nullptr;
  QGridLayout* m_listGrid = nullptr;
  std::array<QListView*, 3> m_lists{};
  std::array<QPushButton*, 3> m_sortButtons{};
  QScrollBar* m_scroll = nullptr;
  QLabel* m_nameLabel = nullptr;
  QPushButton* m_nameToggle = nullptr;
  QLabel* m_versionCaption = nullptr;
  QLabel* m_version = nullptr;
  HoverHints* m_hints = nullptr;
};

}  // namespace wrenfold
