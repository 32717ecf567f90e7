#pragma once

#include <QString>
#include <QUndoCommand>
#include <array>
#include <functional>

#include "tablestate.h"

// What an undo step brings back: every record as stored (formula, result, label), the
// explanation and the rounding digits. A plain value, so a step holds two of them.
struct TableSnapshot {
  std::array<RowRecord, kRecordCount> rows;
  QString explanation;
  int roundingDigits = 4;

  static TableSnapshot Of(const TableState& state);
  void ApplyTo(TableState& state) const;
  bool operator==(const TableSnapshot&) const = default;
};

// One change of the table, as the states before and after it. `show` puts a state on the
// screen and moves the focus to the row the change was about.
class TableChange final : public QUndoCommand {
 public:
  using Show = std::function<void(const TableSnapshot&, int row)>;

  // `alreadyMade`: the change is in the table already, so pushing the step does not apply
  // it a second time. Steps with the same `mergeId` (not -1) in a row make one step, as the
  // keystrokes of one visit to a field do.
  TableChange(TableSnapshot before, TableSnapshot after, int row, Show show, bool alreadyMade,
              int mergeId = -1);

  void undo() override;
  void redo() override;
  int id() const override { return m_mergeId; }
  bool mergeWith(const QUndoCommand* other) override;

  const TableSnapshot& Before() const { return m_before; }
  const TableSnapshot& After() const { return m_after; }

 private:
  TableSnapshot m_before;
  TableSnapshot m_after;
  int m_row;
  Show m_show;
  bool m_skipRedo;
  int m_mergeId;
};
