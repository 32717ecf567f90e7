#pragma once

#include <QLockFile>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "formulafile.h"

class Dialogs;
class TableState;

// The state folder of this user: $XDG_STATE_HOME/verodazava, or ~/.local/state/verodazava.
QString DefaultRecoveryFolder();

// A table found in a recovery file: the formula file's fields and the last file name.
struct RecoveredTable {
  DecodedFormulaFile file;
  QString lastFileName;
  int moreLeft = 0;  // further tables left by finished instances, kept for later starts
};

// Keeps the unsaved table of this instance in a recovery file of its own, a formula file in
// the state folder, so closing the window, a crash or a power cut loses nothing. Each
// instance holds a slot "table-N" under a lock: table-N.SPR is the table, table-N.name the
// last file name, table-N.lock names the instance. A slot whose lock is free and whose file
// is there was left by an instance that is no longer running. The folder and the files are
// the user's alone; anything else found under a slot's names is passed over and left as it is.
// A failure never stops the program: it is reported once, at the first write after it, and
// the next write tries again.
//
// The window keeps its table through Keep, which never makes a keystroke wait for the disk:
// the table is encoded once the event loop is idle, so that a burst of changes (a paste, a
// held Enter) is one write, and a thread of its own writes and syncs it. A kill -9 within the
// few milliseconds of that write loses the changes it carries: the file still holds the table
// before them, whole. The destructor writes whatever is still pending.
class TableRecovery {
 public:
  TableRecovery(QString folder, Dialogs& dialogs);
  // Releases the slot; its file stays for the next start.
  ~TableRecovery();
  TableRecovery(const TableRecovery&) = delete;
  TableRecovery& operator=(const TableRecovery&) = delete;

  // At most this many tables left by finished instances are kept: each claim removes the
  // oldest beyond them, and those left empty, so the slots stay bounded however often
  // instances are killed.
  static constexpr int kKeptTables = 10;

  // Takes a slot, and removes temporary files that killed writes left in the folder. With
  // `takeOverLeft`, the slot holding the newest table a finished instance left is preferred,
  // and that table is returned; otherwise, and when there is none, a free slot without a file
  // is taken.
  std::optional<RecoveredTable> Claim(bool takeOverLeft);
  // The table Claim returned stays for a later start: its slot is let go, and the first write
  // takes a free one.
  void Postpone();
  // Writes the table (explanation, formulas, last file name) into the slot's file now.
  void Write(const TableState& state);
  // Writes `state` as it is once the event loop is idle, in the background, or removes the
  // slot's file when the table is empty; `state` must outlive this object.
  void Keep(const TableState& state);
  // Waits until the table last given to Keep is written, and reports a failure as Write does.
  void Flush();
  // The table is saved or empty: the slot's file goes.
  void Remove();

  // The slot's table file, once the writes under way are done; empty while no slot is held.
  QString FilePath() const;

 private:
  struct LeftTable;
  struct Background;
  enum class Pending { Drop, Write };

  QString SlotPath(int slot, const QString& suffix) const;
  std::unique_ptr<QLockFile> Lock(int slot) const;
  void Hold(int slot, std::unique_ptr<QLockFile> lock);
  std::optional<LeftTable> ReadSlot(int slot) const;
  std::vector<LeftTable> TakeLeftTables();
  void RemoveSlotFiles(int slot);
  void ClearSlot();
  bool PrepareFolder();
  bool TakeFreeSlot();
  bool WriteTable(const QByteArray& table, const QString& lastFileName);
  void HandOver();
  // Hands a table to the writer; an empty `table` removes the slot's files instead.
  void Queue(QByteArray table, QString lastFileName);
  void WriteInBackground();
  // Ends the writes under way, first writing or dropping the one not yet begun.
  void Settle(Pending pending);
  void WaitForWriter() const;
  void Fail();
  void ReportFailure();

  QString m_folder;
  Dialogs& m_dialogs;
  int m_slot = 0;  // 0: none held
  std::unique_ptr<QLockFile> m_lock;
  std::optional<QString> m_writtenName;  // the last file name now in table-N.name
  std::atomic<bool> m_failed = false;    // something failed since the start
  bool m_reported = false;
  std::unique_ptr<Background> m_background;  // made by the first Keep
};
