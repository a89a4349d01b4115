// libsumtab20.so, loaded from cartdesk's own folder (by absolute path) at the first use of
// CalcCRC.
#pragma once

#include <QLibrary>
#include <QString>

#include "frontend/model/rom_signature.h"

namespace wrenfold {

class SumtabLibrary {
 public:
  explicit SumtabLibrary(QString folder = {});

  // Null when the library cannot be loaded or has no CalcCRC; the load is tried once.
  CalcCrcFunction CalcCrc();
  QString LoadError() const { return m_loadError; }
  QString LibraryPath() const { return m_library.fileName(); }

 private:
  QLibrary m_library;
  bool m_tried = false;
  CalcCrcFunction m_calcCrc = nullptr;
  QString m_loadError;
};

}  // namespace wrenfold
