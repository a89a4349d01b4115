#include "frontend/ui/header_panel.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>

#include "frontend/model/frontend_notices.h"
#include "frontend/ui/captions.h"
#include "frontend/ui/message_boxes.h"

namespace wrenfold {
namespace {

constexpr std::array<const char*, kHeaderFlagCount> kFlagLabelNames = {"Label2", "Label8",
                                                                       "Label10", "Label9"};

void ShowText(QLabel* label, const HeaderTextView& view) {
  label->setText(FromUtf8(view.text));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText,
                   QColor(view.colour.red, view.colour.green, view.colour.blue));
  label->setPalette(palette);
}

}  // namespace

HeaderPanel::HeaderPanel(const CartdeskData& data, QWidget* parent)
    : QGroupBox(parent), m_data(data) {
  setObjectName("framewin(0)");
  auto* grid = new QGridLayout(this);
  m_prgSize = new QLabel(this);
  m_prgSize->setObjectName("Label4");
  m_chrSize = new QLabel(this);
  m_chrSize->setObjectName("Label5");
  m_mapper = new QLabel(this);
  m_mapper->setObjectName("Label3");
  m_mapper->setCursor(Qt::PointingHandCursor);
  grid->addWidget(m_prgSize, 0, 0);
  grid->addWidget(m_chrSize, 0, 1);
  grid->addWidget(m_mapper, 0, 2);
  for (int flag = 0; flag < kHeaderFlagCount; ++flag) {
    m_flags[flag] = new QLabel(this);
    m_flags[flag]->setObjectName(kFlagLabelNames[flag]);
    QSizePolicy policy = m_flags[flag]->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    m_flags[flag]->setSizePolicy(policy);
    grid->addWidget(m_flags[flag], 1, flag);
  }
  m_mapper->installEventFilter(this);
  ApplyCaptions(this, FormName::Form1, kLanguageChinese);
  m_mapper->setText(Message(MessageId::HeaderMapperPrefix, kLanguageChinese));
  for (QLabel* flag : m_flags) flag->hide();
}

void HeaderPanel::Relabel() {
  if (!m_shownHeader) {
    Clear();
    return;
  }
  m_view = BuildHeaderPanel(*m_shownHeader, m_comparedHeader ? &*m_comparedHeader : nullptr,
                            m_data.language);
  ShowView();
}

void HeaderPanel::Clear() {
  m_shownLast.reset();
  m_shownHeader.reset();
  m_comparedHeader.reset();
  m_view = HeaderPanelView{};
  m_prgSize->setText(Message(MessageId::HeaderPrgSizePrefix, m_data.language));
  m_chrSize->setText(Message(MessageId::HeaderChrSizePrefix, m_data.language));
  m_mapper->setText(Message(MessageId::HeaderMapperPrefix, m_data.language));
  for (QLabel* flag : m_flags) flag->hide();
}

void HeaderPanel::ShowHeaderPanel(const std::filesystem::path& romPath,
                                  const InesHeaderBytes* expected) {
  if (m_shownLast == romPath) return;
  const HeaderReadResult read = ReadRomHeader(romPath);
  if (read.status != HeaderFileStatus::Ok) {
    Clear();
    m_shownLast = romPath;
    ReportProblem(read.status);
    return;
  }
  const RomHeaderBytes* expectedHeader = expected;
  m_view = BuildHeaderPanel(read.bytes, expectedHeader, m_data.language);
  m_shownHeader = read.bytes;
  m_comparedHeader.reset();
  if (expectedHeader != nullptr) m_comparedHeader = *expectedHeader;
  ShowView();
  // Both questions are decided on the header as read here, even after the first repair.
  const bool hasTrash = m_view.hasTrash;
  // A damaged stored header is never offered: writing it would destroy the image's magic.
  if (m_view.storedHeaderDamaged) ReportProblem(HeaderFileStatus::StoredHeaderDamaged);
  if (m_view.differsFromExpected && expected != nullptr &&
      AskYesNo(window(), Message(MessageId::HeaderMismatchTitle, m_data.language),
               Message(MessageId::HeaderMismatchText, m_data.language))) {
    RepairHeader(romPath, *expected);
  }
  if (hasTrash && AskYesNo(window(), Message(MessageId::TrashFoundTitle, m_data.language),
                           Message(MessageId::TrashFoundText, m_data.language))) {
    ClearTrash(romPath, expected);
  }
  m_shownLast = romPath;
}

void HeaderPanel::RepairHeader(const std::filesystem::path& romPath,
                               const InesHeaderBytes& expected) {
  const RepairResult result = WriteExpectedHeader(romPath, expected);
  if (ReportProblem(result.status)) return;
  ShowMessage(window(), Message(MessageId::HeaderRepairedTitle, m_data.language),
              Message(MessageId::HeaderRepairedText, m_data.language));
  m_shownLast.reset();
  ShowHeaderPanel(romPath, &expected);
}

void HeaderPanel::ClearTrash(const std::filesystem::path& romPath,
                             const InesHeaderBytes* expected) {
  const RepairResult result = ClearHeaderTrash(romPath);
  if (ReportProblem(result.status)) return;
  ShowMessage(window(), Message(MessageId::DefaultMessageTitle, m_data.language),
              Message(MessageId::TrashClearedText, m_data.language));
  m_shownLast.reset();
  ShowHeaderPanel(romPath, expected);
}

bool HeaderPanel::ReportProblem(HeaderFileStatus status) {
  const std::optional<Notice> notice = NoticeForHeaderFile(status);
  if (!notice) return false;
  ShowNotice(window(), *notice, m_data.language);
  return true;
}

void HeaderPanel::ShowView() {
  ShowText(m_prgSize, m_view.prgSize);
  ShowText(m_chrSize, m_view.chrSize);
  ShowText(m_mapper, m_view.mapper);
  for (int flag = 0; flag < kHeaderFlagCount; ++flag) {
    const HeaderFlagView& view = m_view.flags[flag];
    QPalette palette = m_flags[flag]->palette();
    palette.setColor(QPalette::WindowText,
                     QColor(view.colour.red, view.colour.green, view.colour.blue));
    m_flags[flag]->setPalette(palette);
    m_flags[flag]->setVisible(view.visible);
  }
}

bool HeaderPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_mapper && event->type() == QEvent::MouseButtonPress) {
    emit mapperLabelClicked();
    return true;
  }
  return QGroupBox::eventFilter(watched, event);
}

}  // namespace wrenfold
