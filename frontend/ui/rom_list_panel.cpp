#include "frontend/ui/rom_list_panel.h"

#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "frontend/model/alias_names.h"
#include "frontend/model/frontend_notices.h"
#include "frontend/model/number_text.h"
#include "frontend/model/rom_filter.h"
#include "frontend/ui/captions.h"
#include "frontend/ui/hint_line.h"
#include "frontend/ui/message_boxes.h"
#include "frontend/ui/rom_list_model.h"

namespace wrenfold {
namespace {

constexpr std::array<const char*, 3> kListNames = {"FilenameList", "CNameList", "ENameList"};
constexpr std::array<const char*, 3> kSortButtonNames = {"Command2", "Command3", "Command4"};
constexpr std::array<RomListSortKey, 3> kSortKeys = {
    RomListSortKey::kFileName, RomListSortKey::kChineseName, RomListSortKey::kEnglishName};
constexpr std::array<MessageId, 3> kListHints = {
    MessageId::HintFilenameList, MessageId::HintChineseNameList, MessageId::HintEnglishNameList};
constexpr std::array<MessageId, 3> kSortHints = {
    MessageId::HintSortByFileName, MessageId::HintSortByGameName, MessageId::HintSortByEnglishName};
constexpr int kLargestAliasMenu = 4;

std::filesystem::path LocalPath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

RomListPanel::RomListPanel(CartdeskData& data, QWidget* parent)
    : QWidget(parent), m_data(data), m_model(new RomListModel(data, this)) {
  setObjectName("RomListPanel");
  m_hints = new HoverHints(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* directoryRow = new QHBoxLayout;
  auto* directoryLabel = new QLabel(this);
  directoryLabel->setObjectName("Label1");
  m_directoryBox = new QLineEdit(this);
  m_directoryBox->setObjectName("Txt_ROMDir");
  auto* browseButton = new QPushButton(this);
  browseButton->setObjectName("Cmd_ROMDirBrowse");
  browseButton->setMaximumWidth(browseButton->fontMetrics().horizontalAdvance("……") + 16);
  directoryRow->addWidget(directoryLabel);
  directoryRow->addWidget(m_directoryBox, 1);
  directoryRow->addWidget(browseButton);
  layout->addLayout(directoryRow);

  // The filter over the lists: typing narrows them, "Clear Filter" shows every file again.
  auto* filterRow = new QHBoxLayout;
  auto* filterLabel = new QLabel(this);
  filterLabel->setObjectName("Lab_Filter");
  m_filterBox = new QLineEdit(this);
  m_filterBox->setObjectName("Txt_Filter");
  m_filterBox->setClearButtonEnabled(true);
  auto* clearFilter = new QPushButton(this);  // `Command9`, once a placeholder for a filter
  clearFilter->setObjectName("Command9");
  filterRow->addWidget(filterLabel);
  filterRow->addWidget(m_filterBox, 1);
  filterRow->addWidget(clearFilter);
  layout->addLayout(filterRow);

  auto* grid = new QGridLayout;
  m_listGrid = grid;
  grid->setHorizontalSpacing(0);
  for (int column = 0; column < 3; ++column) {
    m_sortButtons[column] = new QPushButton(this);
    m_sortButtons[column]->setObjectName(kSortButtonNames[column]);
    grid->addWidget(m_sortButtons[column], 0, column);
    auto* list = new QListView(this);
    list->setObjectName(kListNames[column]);
    list->setModel(m_model);
    list->setModelColumn(column);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setUniformItemSizes(true);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setMinimumHeight(12 * list->fontMetrics().height());
    m_lists[column] = list;
    grid->addWidget(list, 1, column);
    grid->setColumnStretch(column, column == 0 ? 3 : 4);
    m_hints->Attach(list, kListHints[column]);
    m_hints->Attach(m_sortButtons[column], kSortHints[column]);

    const RomListSortKey key = kSortKeys[column];
    connect(m_sortButtons[column], &QPushButton::clicked, this, [this, key] { Sort(key); });
    connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
              if (!m_syncing && current.isValid()) ShowRomDetails(current.row());
            });
    connect(list->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &RomListPanel::FollowScroll);
  }
  m_scroll = new QScrollBar(Qt::Vertical, this);
  m_scroll->setObjectName("ROMscroll");
  m_scroll->setVisible(false);
  grid->addWidget(m_scroll, 1, 3);
  layout->addLayout(grid, 1);

  auto* nameRow = new QHBoxLayout;
  m_nameLabel = new QLabel(this);
  m_nameLabel->setObjectName("Lab_EngName");
  m_nameToggle = new QPushButton(this);
  m_nameToggle->setObjectName("Cmd_ExtName");
  nameRow->addWidget(m_nameLabel, 1);
  nameRow->addWidget(m_nameToggle);
  layout->addLayout(nameRow);

  auto* versionRow = new QHBoxLayout;
  m_versionCaption = new QLabel(this);
  m_versionCaption->setObjectName("Label6");
  m_version = new QLabel(this);
  m_version->setObjectName("Lab_version");
  versionRow->addWidget(m_versionCaption);
  versionRow->addWidget(m_version, 1);
  layout->addLayout(versionRow);

  auto* fdsButton = new QPushButton(this);
  fdsButton->setObjectName("Cmd_FDS");
  versionRow->addWidget(fdsButton);

  connect(m_directoryBox, &QLineEdit::editingFinished, this, &RomListPanel::RomDirectoryEdited);
  connect(browseButton, &QPushButton::clicked, this, &RomListPanel::ChooseRomDirectory);
  connect(m_filterBox, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
  connect(clearFilter, &QPushButton::clicked, m_filterBox, &QLineEdit::clear);
  connect(m_scroll, &QScrollBar::valueChanged, this, [this](int value) {
    // The scroll bar counts the rows the filter shows.
    const std::vector<int> shown = VisibleRows();
    if (!m_syncing && value >= 0 && static_cast<size_t>(value) < shown.size())
      ShowRomDetails(shown[static_cast<size_t>(value)]);
  });
  connect(m_nameToggle, &QPushButton::clicked, this,
          [this] { SetShowChineseName(!m_showChineseName); });
  connect(fdsButton, &QPushButton::clicked, this, &RomListPanel::fdsLoaderRequested);
  connect(m_lists[RomListModel::kChineseNameColumn], &QListView::doubleClicked, this,
          [this](const QModelIndex& index) { OpenAliasMenu(index.row(), QCursor::pos()); });
  // A double-click on a file or English name starts the game; the Chinese-name column keeps
  // its double-click for the aliases. Enter starts it from any of the three lists.
  for (int column : {RomListModel::kFileNameColumn, RomListModel::kEnglishNameColumn}) {
    connect(m_lists[column], &QListView::doubleClicked, this, [this](const QModelIndex& index) {
      if (index.isValid()) emit startRequested();
    });
  }
  for (QListView* list : m_lists) list->installEventFilter(this);
  m_versionCaption->installEventFilter(this);
  m_hints->Attach(directoryLabel, MessageId::HintRomDirectory);
  m_hints->Attach(browseButton, MessageId::HintBrowseRomDirectory);
  m_hints->Attach(filterLabel, MessageId::HintFilter);
  m_hints->Attach(m_filterBox, MessageId::HintFilter);
  m_hints->Attach(m_versionCaption, MessageId::HintDatabaseVersion);

  ApplyCaptions(this, FormName::Form1, kLanguageChinese);
  m_filterBox->setPlaceholderText(Message(MessageId::FilterPlaceholder, kLanguageChinese));
  SetShowChineseName(false);
}

void RomListPanel::ChooseRomDirectory() {
  const QString chosen = QFileDialog::getExistingDirectory(
      window(), Message(MessageId::ChooseRomDirectoryTitle, m_data.language),
      m_directoryBox->text(), QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  if (chosen.isEmpty()) return;
  m_directoryBox->setText(QDir::toNativeSeparators(chosen));
  RomDirectoryEdited();
}

std::vector<int> RomListPanel::VisibleRows() const {
  std::vector<int> rows;
  const QListView* list = m_lists[RomListModel::kFileNameColumn];
  for (int row = 0; row < m_model->rowCount(); ++row) {
    if (!list->isRowHidden(row)) rows.push_back(row);
  }
  return rows;
}

void RomListPanel::ApplyFilter() {
  const std::string filter = m_filterBox->text().toStdString();
  for (int row = 0; row < m_model->rowCount(); ++row) {
    const bool hidden = !RomEntryMatchesFilter(*m_model->Entry(row), m_data.recognition.records,
                                               m_data.aliasChoice.Slots(), filter);
    for (QListView* list : m_lists) list->setRowHidden(row, hidden);
  }
  const std::vector<int> shown = VisibleRows();
  {
    const QSignalBlocker blocker(m_scroll);
    m_scroll->setRange(0, std::max(0, static_cast<int>(shown.size()) - 1));
  }
  m_scroll->setVisible(RomListNeedsScrollBar(shown.size()));
  if (shown.empty()) {
    // Nothing to start or show: no row stays selected.
    for (QListView* list : m_lists) list->selectionModel()->clear();
    return;
  }
  const bool selected = m_lists[RomListModel::kFileNameColumn]->selectionModel()->hasSelection();
  if (std::ranges::find(shown, m_currentRow) == shown.end()) {
    ShowRomDetails(shown.front());
  } else if (!selected) {
    ShowRomDetails(m_currentRow);
  } else {
    SyncScrollBar();
  }
}

void RomListPanel::SyncScrollBar() {
  const std::vector<int> shown = VisibleRows();
  const auto at = std::ranges::find(shown, m_currentRow);
  if (at == shown.end()) return;
  const QSignalBlocker blocker(m_scroll);
  m_scroll->setValue(static_cast<int>(at - shown.begin()));
}

void RomListPanel::SetRomDirectory(const QString& directory) {
  m_romDirectory = directory;
  m_directoryBox->setText(directory);
}

QString RomListPanel::RomDirectoryText() const {
  return m_directoryBox->text();
}

void RomListPanel::RomDirectoryEdited() {
  if (m_directoryBox->text() == m_romDirectory) return;
  m_romDirectory = m_directoryBox->text();
  Updatelist();
}

void RomListPanel::Updatelist() {
  const std::filesystem::path folder = LocalPath(m_romDirectory);
  // The checksum library is loaded only when there is something to checksum.
  CalcCrcFunction calcCrc = nullptr;
  if (m_checksum && !ListFilesWithExtension(folder, ".nes").empty()) calcCrc = m_checksum();
  const RecognitionIndex index(m_data.recognition.records);
  RomList list = BuildRomList(folder, index, calcCrc);
  const std::vector<Notice> notices = NoticesForRomList(list, m_romDirectory.toStdString());
  m_model->SetList(std::move(list));
  emit listRebuilt();

  const int count = m_model->rowCount();
  {
    const QSignalBlocker blocker(m_scroll);
    m_scroll->setRange(0, std::max(0, count - 1));
    m_scroll->setValue(0);
  }
  m_scroll->setVisible(RomListNeedsScrollBar(static_cast<size_t>(count)));

  for (const Notice& notice : notices) ShowNotice(window(), notice, m_data.language);

  m_currentRow = 0;
  if (count == 0) {
    RefreshNameLabel();
    emit romShown(-1);
    return;
  }
  // The filter, when one is typed, picks the first file it keeps.
  if (m_filterBox->text().isEmpty()) {
    ShowRomDetails(0);
  } else {
    ApplyFilter();
  }
}

void RomListPanel::ShowRomDetails(int row) {
  if (m_model->List().noRomFiles || m_model->Entry(row) == nullptr) return;
  m_currentRow = row;
  m_syncing = true;
  for (int column = 0; column < 3; ++column) {
    const QModelIndex cell = m_model->index(row, column);
    m_lists[column]->setCurrentIndex(cell);
    m_lists[column]->scrollTo(cell);
  }
  m_syncing = false;
  SyncScrollBar();
  RefreshNameLabel();
  emit romShown(row);
}

void RomListPanel::FollowScroll(int value) {
  if (m_syncing) return;
  m_syncing = true;
  for (QListView* list : m_lists) list->verticalScrollBar()->setValue(value);
  m_syncing = false;
}

std::string RomListPanel::SelectedFileName() const {
  QListView* list = m_lists[RomListModel::kFileNameColumn];
  const QModelIndexList selected = list->selectionModel()->selectedIndexes();
  if (selected.isEmpty() || list->isRowHidden(selected.first().row())) return {};
  const RomListEntry* entry = m_model->Entry(selected.first().row());
  return entry != nullptr ? entry->fileName : std::string();
}

void RomListPanel::Sort(RomListSortKey key) {
  const RomListEntry* shown = m_model->Entry(m_currentRow);
  const std::string shownFile = shown != nullptr ? shown->fileName : std::string();
  m_model->Sort(key);
  const auto& entries = m_model->List().entries;
  for (size_t row = 0; row < entries.size(); ++row) {
    if (entries[row].fileName != shownFile) continue;
    // The detail panels already show this entry; only the lists move to its new row.
    m_currentRow = static_cast<int>(row);
    m_syncing = true;
    for (int column = 0; column < 3; ++column) {
      const QModelIndex cell = m_model->index(m_currentRow, column);
      m_lists[column]->setCurrentIndex(cell);
      m_lists[column]->scrollTo(cell);
    }
    m_syncing = false;
    break;
  }
  // Rows keep their filter: the hidden ones moved with the sort.
  ApplyFilter();
}

void RomListPanel::SetShowChineseName(bool chinese) {
  m_showChineseName = chinese;
  m_nameToggle->setText(Message(
      chinese ? MessageId::ExtNameShowsChinese : MessageId::ExtNameShowsEnglish, m_data.language));
  RefreshNameLabel();
}

void RomListPanel::RefreshNameLabel() {
  const RomListEntry* entry = m_model->Entry(m_currentRow);
  m_nameLabel->setText(entry != nullptr ? FromUtf8(NameLabelText(*entry, m_data.recognition.records,
                                                                 m_showChineseName))
                                        : QString());
}

QMenu* RomListPanel::BuildAliasMenu(int row) {
  const RomListEntry* entry = m_model->Entry(row);
  const RecognitionRecord* record = m_model->MatchedRecord(row);
  if (entry == nullptr || record == nullptr || record->aliasUpperIndex == 0) return nullptr;
  const int16_t current = AliasChoiceOf(m_data.aliasChoice.Slots(), entry->recordIndex);
  const std::vector<AliasMenuItem> items = AliasMenuItems(*record, current);
  if (items.empty()) return nullptr;
  const int size = std::min(static_cast<int>(items.size()), kLargestAliasMenu);
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("Menu%1").arg(size));
  for (int item = 0; item < size; ++item) {
    QAction* action = menu->addAction(FromUtf8(items[static_cast<size_t>(item)].text));
    action->setObjectName(QStringLiteral("M%1S%2").arg(size).arg(item + 1));
    action->setData(static_cast<int>(items[static_cast<size_t>(item)].choice));
  }
  return menu;
}

void RomListPanel::OpenAliasMenu(int row, const QPoint& globalPosition) {
  QMenu* menu = BuildAliasMenu(row);
  if (menu == nullptr) return;
  QAction* chosen = menu->exec(globalPosition);
  if (chosen != nullptr) ChangeAlias(row, static_cast<int16_t>(chosen->data().toInt()));
  menu->deleteLater();
}

void RomListPanel::ChangeAlias(int row, int16_t choice) {
  const RomListEntry* entry = m_model->Entry(row);
  if (entry == nullptr || !entry->HasMatch()) return;
  const int recordIndex = entry->recordIndex;
  if (!m_data.aliasChoice.Set(recordIndex + 1, choice)) return;
  // Every file of the same record shows the new name.
  for (int other = 0; other < m_model->rowCount(); ++other) {
    const RomListEntry* candidate = m_model->Entry(other);
    if (candidate->recordIndex == recordIndex) m_model->RefreshChineseName(other);
  }
  RefreshNameLabel();
}

void RomListPanel::SetDatabaseVersion(const QString& text) {
  m_version->setText(text);
}

void RomListPanel::ApplyLanguageLayout(int language) {
  const bool chinese = language != kLanguageEnglish;
  m_hints->SetLanguage(language);
  m_filterBox->setPlaceholderText(Message(MessageId::FilterPlaceholder, language));
  m_sortButtons[RomListModel::kChineseNameColumn]->setVisible(chinese);
  m_lists[RomListModel::kChineseNameColumn]->setVisible(chinese);
  // The English-name column takes the room the Chinese one leaves.
  m_listGrid->setColumnStretch(RomListModel::kChineseNameColumn, chinese ? 4 : 0);
  SetShowChineseName(m_showChineseName);
}

bool RomListPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && std::ranges::find(m_lists, watched) != m_lists.end()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      emit startRequested();
      return true;
    }
  }
  if (event->type() == QEvent::FocusIn) {
    if (watched == m_lists[RomListModel::kChineseNameColumn]) SetShowChineseName(true);
    if (watched == m_lists[RomListModel::kEnglishNameColumn]) SetShowChineseName(false);
  }
  if (event->type() == QEvent::MouseButtonDblClick && watched == m_versionCaption) {
    const RomListEntry* entry = m_model->Entry(m_currentRow);
    const int record = entry != nullptr && entry->HasMatch() ? entry->recordIndex + 1 : -1;
    ShowMessage(window(), Message(MessageId::DefaultMessageTitle, m_data.language),
                QString::fromStdString(FormatPlainDecimal(record)));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace wrenfold
