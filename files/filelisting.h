#pragma once

#include <QString>
#include <QStringList>

// Shell sort with the gap halved each pass over the first `count` texts, compared by their
// UTF-16 code units (digits, upper-case Latin, lower-case Latin, Cyrillic).
void SortStrings(QStringList& texts, qsizetype count, bool descending);

// True when `name` matches one of the ";"-separated wildcard patterns (`*` any run, `?` one
// character), without regard to case: formula files travel between systems that treat the
// case of names differently. "*.*" matches every name, with or without an extension.
bool MatchesPattern(const QString& name, const QString& patterns);

// The listing source of the chooser: the ordinary files of a directory matching a pattern,
// as the file system spells them; no directories and no hidden files.
class FileListing {
 public:
  void SetPattern(const QString& pattern) { m_pattern = pattern; }
  void SetDirectory(const QString& directory) { m_directory = directory; }
  QStringList Names() const;

 private:
  QString m_pattern = QStringLiteral("*.*");
  QString m_directory;
};

// The entry of `directory` that a chosen name stands for: the name itself when it exists,
// otherwise the first entry (in the chooser's order) that differs from it only in case;
// the name unchanged when there is none.
QString ResolveEntry(const QString& directory, const QString& name);
