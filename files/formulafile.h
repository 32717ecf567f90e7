#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "tablestate.h"

class QIODevice;

// A formula file holds the explanation and the formulas of records 0..25: 27 fields, one a
// line, each between double quotes, CR LF after every line, Windows-1251.
inline constexpr int kFileRecords = 26;
// Reading keeps at most this much of the explanation; the field itself has no limit.
inline constexpr qsizetype kMaxExplanationLength = 64 * 1024;
// Reading stops here, so that a huge file cannot hold the program up.
inline constexpr qint64 kMaxScannedBytes = 16 * 1024 * 1024;

// An explanation that is empty or begins with a control character is saved as one blank; any
// other control character in it becomes a blank (FormulaLine), as in a formula row.
QString ExplanationForFile(const QString& explanation);

struct EncodedFormulaFile {
  QByteArray bytes;
  // Fields that held characters Windows-1251 cannot store; each such character became "?".
  bool explanationLost = false;
  QList<int> lostRecords;  // record indexes 0..25
  // Fields holding a CR or LF, which would end their line early and shift every field after
  // it. Such a file is refused: `bytes` stays empty and nothing may be written.
  bool explanationRefused = false;
  QList<int> refusedRecords;  // record indexes 0..25
  bool Refused() const { return explanationRefused || !refusedRecords.isEmpty(); }
};

// The file for the explanation as it stands and the trimmed formulas of records 0..25.
// A cleared record is written as its 255 NUL characters, an emptied one as "". A field that
// would break the one-field-a-line format makes the whole file refused (see Refused()); rows
// stored through RowRecord::SetFormula never do.
EncodedFormulaFile EncodeFormulaFile(const TableState& state);

struct DecodedFormulaFile {
  std::optional<QString> explanation;  // nothing when the file is empty
  QStringList formulas;                // fields of records 0.., at most kFileRecords
};

// Reads fields the way the file is written, tolerating hand-made files: blanks and tabs
// before a field are skipped; a quoted field runs to the last quote of its line, so that a
// formula holding quotes and commas reads back whole, and the rest of that line is skipped;
// an unquoted field runs to a comma or line end, trailing blanks removed. CR LF, CR and LF all
// end a line. Fields are cut while reading.
DecodedFormulaFile DecodeFormulaFile(QIODevice& device);
DecodedFormulaFile DecodeFormulaFile(const QByteArray& bytes);

// Clears every record, then fills records from the decoded fields; the explanation is taken
// when the file had one. A field of nothing but NULs (and blanks) gives a cleared record.
// Every field is made one line (FormulaLine). A file written before rows were kept to one line
// may hold a quoted field with line ends inside: its quotes still bound it, so the rows stay in
// their places and that row holds its lines joined by blanks.
void ApplyFormulaFile(const DecodedFormulaFile& file, TableState& state);
