#include "filelisting.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace {

bool CodeUnitsLess(const QString& a, const QString& b) {
  return std::lexicographical_compare(a.utf16(), a.utf16() + a.size(), b.utf16(),
                                      b.utf16() + b.size());
}

// Sorted in order: `a` may stay before `b`.
bool InOrder(const QString& a, const QString& b, bool descending) {
  return descending ? !CodeUnitsLess(a, b) : !CodeUnitsLess(b, a);
}

QRegularExpression WildcardExpression(const QString& pattern) {
  QString expression;
  for (QChar c : pattern) {
    if (c == u'*')
      expression += QStringLiteral(".*");
    else if (c == u'?')
      expression += u'.';
    else
      expression += QRegularExpression::escape(QString(c));
  }
  return QRegularExpression(
      QRegularExpression::anchoredPattern(expression),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
}

}  // namespace

void SortStrings(QStringList& texts, qsizetype count, bool descending) {
  count = std::min(count, texts.size());
  for (qsizetype gap = count / 2; gap > 0; gap /= 2) {
    for (qsizetype i = gap; i < count; ++i) {
      for (qsizetype j = i - gap; j >= 0; j -= gap) {
        if (InOrder(texts[j], texts[j + gap], descending)) break;
        texts.swapItemsAt(j, j + gap);
      }
    }
  }
}

bool MatchesPattern(const QString& name, const QString& patterns) {
  for (const QString& piece : patterns.split(u';')) {
    const QString pattern = piece.trimmed();
    if (pattern.isEmpty()) continue;
    if (pattern == u"*.*" || pattern == u"*") return true;
    if (WildcardExpression(pattern).match(name).hasMatch()) return true;
  }
  return false;
}

QStringList FileListing::Names() const {
  // QDir::Files without QDir::Hidden and QDir::System: ordinary files only, dot files and
  // sockets, pipes and devices left out.
  const QDir directory(m_directory.isEmpty() ? QDir::currentPath() : m_directory);
  QStringList names;
  for (const QString& name : directory.entryList(QDir::Files, QDir::Name))
    if (!name.startsWith(u'.') && MatchesPattern(name, m_pattern)) names.append(name);
  return names;
}

QString ResolveEntry(const QString& directory, const QString& name) {
  const QDir dir(directory);
  if (QFileInfo::exists(dir.filePath(name))) return name;
  QStringList entries = dir.entryList(QDir::Files, QDir::Name);
  SortStrings(entries, entries.size(), false);
  for (const QString& entry : entries)
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return entry;
  return name;
}
