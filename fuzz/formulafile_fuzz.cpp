#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "formulafile.h"

// Every decoded file must fit the table: at most 26 formulas of at most 255 characters, an
// explanation within its limit, and records of the fixed width after applying it. Writing
// the result again and reading that back must give the same table.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const DecodedFormulaFile decoded = DecodeFormulaFile(bytes);
  if (decoded.formulas.size() > kFileRecords) std::abort();
  if (decoded.explanation && decoded.explanation->size() > kMaxExplanationLength) std::abort();
  for (const QString& formula : decoded.formulas)
    if (formula.size() > kFormulaWidth) std::abort();

  TableState state;
  ApplyFormulaFile(decoded, state);
  for (const RowRecord& row : state.rows)
    if (row.formula.size() != kFormulaWidth) std::abort();

  // What this program writes it must read back unchanged, whatever the table holds.
  state.explanation = ExplanationForFile(state.explanation);
  const EncodedFormulaFile encoded = EncodeFormulaFile(state);
  // Quotes and commas inside a field included.
  if (encoded.explanationLost || !encoded.lostRecords.isEmpty()) return 0;
  TableState again;
  ApplyFormulaFile(DecodeFormulaFile(encoded.bytes), again);
  if (again.explanation != state.explanation) std::abort();
  for (int k = 0; k < kFileRecords; ++k)
    if (state.rows[static_cast<size_t>(k)].Trimmed() !=
        again.rows[static_cast<size_t>(k)].Trimmed())
      std::abort();
  return 0;
}
