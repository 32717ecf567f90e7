#include "formulafile.h"

#include <QBuffer>
#include <QHash>
#include <QIODevice>
#include <QStringDecoder>
#include <array>

#include "formulaline.h"

namespace {

// Windows-1251 is one byte per character, so a table both ways gives exact control over
// what happens to a character the code page lacks (it becomes "?" and is reported).
class Cp1251 {
 public:
  Cp1251() {
    QStringDecoder decoder("windows-1251");
    for (int byte = 0; byte < 256; ++byte) {
      const char raw = static_cast<char>(byte);
      const QString text = decoder.decode(QByteArrayView(&raw, 1));
      const char16_t unit = text.size() == 1 ? text[0].unicode() : u'\uFFFD';
      m_toUnicode[static_cast<size_t>(byte)] = unit;
      if (unit != u'\uFFFD') m_toByte.insert(unit, static_cast<char>(byte));
    }
  }

  // Appends `text` to `out`; false when a character had to be replaced by "?".
  bool Encode(QStringView text, QByteArray& out) const {
    bool exact = true;
    out.reserve(out.size() + text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
      const char16_t unit = text[i].unicode();
      const auto found = m_toByte.constFind(unit);
      if (found != m_toByte.constEnd()) {
        out.append(*found);
        continue;
      }
      exact = false;
      out.append('?');
      // A character outside the basic plane is one "?", not two.
      if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    }
    return exact;
  }

  QString Decode(QByteArrayView bytes) const {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
      text[i] = QChar(m_toUnicode[static_cast<uchar>(bytes[i])]);
    return text;
  }

 private:
  std::array<char16_t, 256> m_toUnicode{};
  QHash<char16_t, char> m_toByte;
};

const Cp1251& CodePage() {
  static const Cp1251 table;
  return table;
}

bool BreaksLine(QStringView text) {
  return text.contains(u'\r') || text.contains(u'\n');
}

bool EncodeField(QStringView text, QByteArray& out) {
  out.append('"');
  const bool exact = CodePage().Encode(text, out);
  out.append("\"\r\n");
  return exact;
}

// Buffered byte reader over a device that never reads past kMaxScannedBytes.
class ByteReader {
 public:
  explicit ByteReader(QIODevice& device) : m_device(device) {}

  bool AtEnd() {
    if (m_pos < m_buffer.size()) return false;
    Fill();
    return m_pos >= m_buffer.size();
  }
  char Peek() { return m_buffer[m_pos]; }  // only after AtEnd() said false
  char Get() { return m_buffer[m_pos++]; }

 private:
  void Fill() {
    m_buffer.clear();
    m_pos = 0;
    const qint64 left = kMaxScannedBytes - m_scanned;
    if (left <= 0) return;
    m_buffer = m_device.read(std::min<qint64>(left, 64 * 1024));
    m_scanned += m_buffer.size();
  }

  QIODevice& m_device;
  QByteArray m_buffer;
  qsizetype m_pos = 0;
  qint64 m_scanned = 0;
};

// Consumes a line end whose first character `c` has just been read.
void FinishLineEnd(ByteReader& in, char c) {
  if (c == '\r' && !in.AtEnd() && in.Peek() == '\n') in.Get();
}

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

// Reads up to and including the next comma or line end, keeping at most `limit` characters
// of what stands before it in `value`.
void ReadToFieldEnd(ByteReader& in, QByteArray& value, qsizetype limit) {
  while (!in.AtEnd()) {
    const char c = in.Get();
    if (c == ',') return;
    if (IsLineEnd(c)) {
      FinishLineEnd(in, c);
      return;
    }
    if (value.size() < limit) value.append(c);
  }
}

QByteArray ReadField(ByteReader& in, qsizetype limit) {
  QByteArray value;
  while (!in.AtEnd() && (in.Peek() == ' ' || in.Peek() == '\t')) in.Get();
  if (in.AtEnd()) return value;

  if (in.Peek() == '"') {
    in.Get();
    // The writer escapes nothing and ends every field with a quote and the line end, so the
    // field ends at the last quote of its line: a quote or a comma inside the text neither cuts
    // it nor starts another field, which would shift every row after it. A line with no quote
    // after the opening one continues the field (a file saved when a row could hold a line
    // end): the quotes bound it, so the rows after it stay in place.
    qsizetype length = 0;
    qsizetype closed = -1;  // the length at the last quote of the line, -1 for none yet
    while (!in.AtEnd()) {
      const char c = in.Get();
      if (IsLineEnd(c) && closed >= 0) {
        FinishLineEnd(in, c);
        break;
      }
      if (c == '"') closed = length;
      if (value.size() < limit) value.append(c);
      ++length;
    }
    // What follows the closing quote belongs to no field.
    if (closed >= 0) value.truncate(closed);
    return value;
  }

  ReadToFieldEnd(in, value, limit);
  while (value.endsWith(' ')) value.chop(1);
  return value;
}

bool OnlyNuls(QStringView text) {
  for (QChar c : text)
    if (c != QChar(0)) return false;
  return !text.isEmpty();
}

}  // namespace

QString ExplanationForFile(const QString& explanation) {
  if (explanation.isEmpty() || explanation[0].unicode() < 32) return QStringLiteral(" ");
  return FormulaLine(explanation);
}

EncodedFormulaFile EncodeFormulaFile(const TableState& state) {
  EncodedFormulaFile file;
  file.explanationRefused = BreaksLine(state.explanation);
  file.explanationLost = !EncodeField(state.explanation, file.bytes);
  for (int k = 0; k < kFileRecords; ++k) {
    const QString field = state.rows[static_cast<size_t>(k)].Trimmed();
    if (BreaksLine(field)) file.refusedRecords.append(k);
    if (!EncodeField(field, file.bytes)) file.lostRecords.append(k);
  }
  // A file whose lines no longer match its fields reads back with rows shifted: none at all.
  if (file.Refused()) file.bytes.clear();
  return file;
}

DecodedFormulaFile DecodeFormulaFile(QIODevice& device) {
  DecodedFormulaFile file;
  ByteReader in(device);
  if (in.AtEnd()) return file;
  file.explanation = CodePage().Decode(ReadField(in, kMaxExplanationLength));
  while (file.formulas.size() < kFileRecords && !in.AtEnd())
    file.formulas.append(CodePage().Decode(ReadField(in, kFormulaWidth)));
  return file;
}

DecodedFormulaFile DecodeFormulaFile(const QByteArray& bytes) {
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  return DecodeFormulaFile(buffer);
}

void ApplyFormulaFile(const DecodedFormulaFile& file, TableState& state) {
  state.ClearRows();
  if (file.explanation) state.explanation = FormulaLine(*file.explanation);
  for (qsizetype k = 0; k < file.formulas.size() && k < kFileRecords; ++k) {
    RowRecord& row = state.rows[static_cast<size_t>(k)];
    // Blanks around NULs are trimmed away on saving, so they do not make the row a text.
    if (OnlyNuls(TrimBlanks(file.formulas[k])))
      row.Clear();
    else
      row.SetFormula(file.formulas[k]);
  }
}
