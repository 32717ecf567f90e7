#include "filenames.h"

QString WithDefaultExtension(const QString& name, const QString& extension) {
  return name.contains(u'.') ? name : name + extension;
}

bool IsPlainFileName(const QString& name) {
  return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
         !name.contains(u'\\') && !name.contains(QChar(0));
}

QString PathInDirectory(const QString& directory, const QString& name) {
  if (directory.isEmpty() || directory.endsWith(u'/')) return directory + name;
  return directory + u'/' + name;
}

bool IsFormulaFileName(const QString& name) {
  return name.endsWith(QStringLiteral(".SPR"), Qt::CaseInsensitive);
}
