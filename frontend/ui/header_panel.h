// `framewin(0)`, the cartridge header panel: the selected file's iNES header, compared with the
// header the recognition database expects, and the two repairs of the file.
#pragma once

#include <QGroupBox>
#include <array>
#include <filesystem>
#include <optional>

#include "frontend/model/header_repair.h"
#include "frontend/model/recognition_db.h"
#include "frontend/ui/cartdesk_data.h"

class QLabel;

namespace wrenfold {

class HeaderPanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit HeaderPanel(const CartdeskData& data, QWidget* parent = nullptr);

  // `ShowHeaderPanel`: shows the header of `romPath`, compares it with `expected` (the record's
  // header of a file known by exactly one record, else nullptr) and offers the repairs. The
  // file shown last is not shown again.
  void ShowHeaderPanel(const std::filesystem::path& romPath, const InesHeaderBytes* expected);

  // Shows nothing (no file selected); the next file is shown whatever it is.
  void Clear();
  // The files may have changed (the list was rebuilt): show the next one afresh.
  void ForgetShownFile() { m_shownLast.reset(); }

  const HeaderPanelView& View() const { return m_view; }

  // The texts of the header shown, again in the interface language (after SetLan).
  void Relabel();

 signals:
  // `Label3`, the mapper label, sorts the list by mapper.
  void mapperLabelClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowView();
  void RepairHeader(const std::filesystem::path& romPath, const InesHeaderBytes& expected);
  void ClearTrash(const std::filesystem::path& romPath, const InesHeaderBytes* expected);
  bool ReportProblem(HeaderFileStatus status);

  const CartdeskData& m_data;
  std::optional<std::filesystem::path> m_shownLast;
  HeaderPanelView m_view;
  // The header shown and the one it was compared with, for Relabel.
  std::optional<RomHeaderBytes> m_shownHeader;
  std::optional<RomHeaderBytes> m_comparedHeader;
  QLabel* m_prgSize = nullptr;
  QLabel* m_chrSize = nullptr;
  QLabel* m_mapper = nullptr;
  std::array<QLabel*, kHeaderFlagCount> m_flags{};
};

}  // namespace wrenfold
