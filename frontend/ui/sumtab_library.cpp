#include "frontend/ui/sumtab_library.h"

#include <QCoreApplication>
#include <QDir>

#include "frontend/model/sumtab_loader.h"

namespace wrenfold {

SumtabLibrary::SumtabLibrary(QString folder) {
  if (folder.isEmpty()) folder = QCoreApplication::applicationDirPath();
  // An absolute path: the library search path is never consulted.
  m_library.setFileName(QDir(folder).absoluteFilePath(kSumtabLibraryName));
}

CalcCrcFunction SumtabLibrary::CalcCrc() {
  if (m_tried) return m_calcCrc;
  m_tried = true;
  if (!m_library.load()) {
    m_loadError = m_library.errorString();
    return nullptr;
  }
  m_calcCrc = reinterpret_cast<CalcCrcFunction>(m_library.resolve("CalcCRC"));
  if (m_calcCrc == nullptr) m_loadError = m_library.errorString();
  return m_calcCrc;
}

}  // namespace wrenfold
