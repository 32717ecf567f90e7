#include "tablerecovery.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTimer>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <tuple>

#include "dialogs.h"
#include "formulacommands.h"
#include "safefile.h"
#include "tablestate.h"

namespace {

// Enough for every window a user could keep open; the search for a free slot stops there.
constexpr int kMaxSlots = 1000;
// The last file name is a short text; more than this is not the program's.
constexpr qint64 kMaxNameBytes = 4096;

const QString kTableSuffix = QStringLiteral(".SPR");
const QString kNameSuffix = QStringLiteral(".name");
const QString kLockSuffix = QStringLiteral(".lock");

QString SlotName(int slot, const QString& suffix) {
  return QStringLiteral("table-") + QString::number(slot) + suffix;
}

}  // namespace

// The writes Keep asks for: the table waits in `job` until the thread takes it, and a newer
// table replaces one not yet taken.
struct TableRecovery::Background {
  struct Job {
    QByteArray table;  // empty for an empty table: the slot's files go
    QString lastFileName;
  };
  QTimer idle;  // a zero timer: fires once the events already queued are handled
  const TableState* state = nullptr;
  std::mutex mutex;
  std::condition_variable changed;
  std::optional<Job> job;
  bool writing = false;
  bool stop = false;
  std::thread thread;
};

struct TableRecovery::LeftTable {
  int slot = 0;
  QDateTime written;
  RecoveredTable table;
  std::unique_ptr<QLockFile> lock;
};

QString DefaultRecoveryFolder() {
  QString base = qEnvironmentVariable("XDG_STATE_HOME");
  // A relative value is invalid by the XDG rules and would land in the start directory.
  if (base.isEmpty() || QDir::isRelativePath(base))
    base = QDir::homePath() + QStringLiteral("/.local/state");
  return base + QStringLiteral("/verodazava");
}

TableRecovery::TableRecovery(QString folder, Dialogs& dialogs)
    : m_folder(std::move(folder)), m_dialogs(dialogs) {}

TableRecovery::~TableRecovery() {
  if (!m_background) return;
  // The end of the program, however it came (Esc, the close box, SIGTERM): what the user last
  // did is written before the slot is let go. A failure is no longer reported, since the
  // window is gone.
  m_reported = true;
  Settle(Pending::Write);
  {
    const std::lock_guard lock(m_background->mutex);
    m_background->stop = true;
  }
  m_background->changed.notify_all();
  if (m_background->thread.joinable()) m_background->thread.join();
}

QString TableRecovery::SlotPath(int slot, const QString& suffix) const {
  return m_folder + u'/' + SlotName(slot, suffix);
}

QString TableRecovery::FilePath() const {
  WaitForWriter();
  return m_slot > 0 ? SlotPath(m_slot, kTableSuffix) : QString();
}

std::unique_ptr<QLockFile> TableRecovery::Lock(int slot) const {
  auto lock = std::make_unique<QLockFile>(SlotPath(slot, kLockSuffix));
  // Only a lock whose instance is gone is stale, however old it is.
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) return nullptr;
  return lock;
}

void TableRecovery::Hold(int slot, std::unique_ptr<QLockFile> lock) {
  m_lock = std::move(lock);
  m_slot = m_lock ? slot : 0;
  m_writtenName.reset();
}

// Only an ordinary file is read: a pipe could be read for ever, and a link could show another
// file's content as the user's table.
std::optional<TableRecovery::LeftTable> TableRecovery::ReadSlot(int slot) const {
  const Result<std::unique_ptr<QFile>> file =
      OpenOrdinaryFile(m_folder, SlotName(slot, kTableSuffix), Links::Refuse);
  if (!file.ok()) return std::nullopt;
  LeftTable left;
  left.slot = slot;
  left.written = (*file)->fileTime(QFileDevice::FileModificationTime);
  left.table.file = DecodeFormulaFile(**file);
  if ((*file)->error() != QFileDevice::NoError) return std::nullopt;
  const Result<std::unique_ptr<QFile>> nameFile =
      OpenOrdinaryFile(m_folder, SlotName(slot, kNameSuffix), Links::Refuse);
  if (nameFile.ok()) left.table.lastFileName = QString::fromUtf8((*nameFile)->read(kMaxNameBytes));
  return left;
}

// The tables finished instances left, their slots locked; those left empty are removed.
std::vector<TableRecovery::LeftTable> TableRecovery::TakeLeftTables() {
  static const QRegularExpression pattern(QStringLiteral("^table-([1-9][0-9]{0,5})\\.SPR$"));
  std::vector<LeftTable> left;
  for (const QString& entry : QDir(m_folder).entryList(QDir::AllEntries | QDir::System)) {
    const QRegularExpressionMatch match = pattern.match(entry);
    if (!match.hasMatch()) continue;
    const int slot = match.captured(1).toInt();
    std::unique_ptr<QLockFile> lock = Lock(slot);
    if (!lock) continue;  // its instance is still running
    std::optional<LeftTable> table = ReadSlot(slot);
    if (!table) continue;  // not the program's file: passed over, as TakeFreeSlot does
    TableState found;
    ApplyFormulaFile(table->table.file, found);
    if (found.IsEmpty()) {
      RemoveSlotFiles(slot);
      continue;
    }
    table->lock = std::move(lock);
    left.push_back(std::move(*table));
  }
  // The newest first.
  std::sort(left.begin(), left.end(), [](const LeftTable& a, const LeftTable& b) {
    return std::tie(a.written, a.slot) > std::tie(b.written, b.slot);
  });
  while (left.size() > static_cast<size_t>(kKeptTables)) {
    RemoveSlotFiles(left.back().slot);
    left.pop_back();
  }
  return left;
}

void TableRecovery::RemoveSlotFiles(int slot) {
  (void)RemoveOrdinaryFile(m_folder, SlotName(slot, kTableSuffix));
  (void)RemoveOrdinaryFile(m_folder, SlotName(slot, kNameSuffix));
}

bool TableRecovery::PrepareFolder() {
  return MakePrivateFolder(m_folder).ok();
}

std::optional<RecoveredTable> TableRecovery::Claim(bool takeOverLeft) {
  Settle(Pending::Drop);
  Hold(0, nullptr);
  if (!PrepareFolder()) {
    Fail();
    return std::nullopt;
  }
  RemoveStaleTemporaries(m_folder);
  std::vector<LeftTable> left = TakeLeftTables();
  if (takeOverLeft && !left.empty()) {
    Hold(left.front().slot, std::move(left.front().lock));
    left.front().table.moreLeft = static_cast<int>(left.size()) - 1;
    return std::move(left.front().table);
  }
  // The others' locks go before a free slot is looked for among them.
  left.clear();
  if (!TakeFreeSlot()) Fail();
  return std::nullopt;
}

void TableRecovery::Postpone() {
  Settle(Pending::Drop);
  Hold(0, nullptr);
}

bool TableRecovery::TakeFreeSlot() {
  for (int slot = 1; slot <= kMaxSlots; ++slot) {
    std::unique_ptr<QLockFile> lock = Lock(slot);
    if (!lock) continue;
    // A file under a free lock is a table some finished instance left for a later start, or
    // something else in the way; a name file without its table is a remnant.
    if (!EntryExists(m_folder, SlotName(slot, kTableSuffix)) &&
        RemoveOrdinaryFile(m_folder, SlotName(slot, kNameSuffix)).ok()) {
      Hold(slot, std::move(lock));
      return true;
    }
  }
  return false;
}

void TableRecovery::Write(const TableState& state) {
  // Reported here, over the window the user works in, and only once there is work to lose.
  const auto report = qScopeGuard([this] { ReportFailure(); });
  Settle(Pending::Drop);
  // A refused table keeps the last good recovery file instead of an empty one.
  const EncodedFormulaFile table = EncodeFormulaFile(state);
  if (table.Refused())
    Fail();
  else
    WriteTable(table.bytes, state.lastFileName);
}

// On the window's thread or the writer's, never on both at once.
bool TableRecovery::WriteTable(const QByteArray& table, const QString& lastFileName) {
  if (m_slot == 0 && !(PrepareFolder() && TakeFreeSlot())) {
    Fail();
    return false;
  }
  if (!WriteFileAtomically(m_folder, SlotName(m_slot, kTableSuffix), table, FileAccess::Private)
           .ok()) {
    Fail();
    return false;
  }
  if (m_writtenName == lastFileName) return true;
  const QString name = SlotName(m_slot, kNameSuffix);
  const Status written =
      lastFileName.isEmpty()
          ? RemoveOrdinaryFile(m_folder, name)
          : WriteFileAtomically(m_folder, name, lastFileName.toUtf8(), FileAccess::Private);
  if (!written.ok()) {
    Fail();
    return false;
  }
  m_writtenName = lastFileName;
  return true;
}

void TableRecovery::Keep(const TableState& state) {
  if (!m_background) {
    m_background = std::make_unique<Background>();
    m_background->idle.setSingleShot(true);
    m_background->idle.setInterval(0);
    m_background->idle.callOnTimeout([this] { HandOver(); });
  }
  m_background->state = &state;
  if (!m_background->idle.isActive()) m_background->idle.start();
}

// The table is encoded here, on the window's thread that owns it; the thread writes it.
void TableRecovery::HandOver() {
  // An empty table leaves nothing to recover, so no file is kept for it.
  if (m_background->state->IsEmpty()) return Queue({}, {});
  const EncodedFormulaFile table = EncodeFormulaFile(*m_background->state);
  if (table.Refused()) {
    Fail();
    ReportFailure();
    return;
  }
  Queue(table.bytes, m_background->state->lastFileName);
}

void TableRecovery::Queue(QByteArray table, QString lastFileName) {
  {
    const std::lock_guard lock(m_background->mutex);
    m_background->job = Background::Job{std::move(table), std::move(lastFileName)};
    if (!m_background->thread.joinable())
      m_background->thread = std::thread([this] { WriteInBackground(); });
  }
  m_background->changed.notify_all();
}

void TableRecovery::WriteInBackground() {
  Background& background = *m_background;
  std::unique_lock lock(background.mutex);
  for (;;) {
    background.changed.wait(lock, [&] { return background.stop || background.job; });
    if (!background.job) return;
    const Background::Job job = *std::exchange(background.job, std::nullopt);
    background.writing = true;
    lock.unlock();
    const bool written =
        job.table.isEmpty() ? (ClearSlot(), true) : WriteTable(job.table, job.lastFileName);
    // The message opens on the window's thread, at its next turn of the event loop.
    if (!written)
      QMetaObject::invokeMethod(
          &background.idle, [this] { ReportFailure(); }, Qt::QueuedConnection);
    lock.lock();
    background.writing = false;
    background.changed.notify_all();
  }
}

void TableRecovery::Settle(Pending pending) {
  if (!m_background) return;
  if (m_background->idle.isActive()) {
    m_background->idle.stop();
    if (pending == Pending::Write) HandOver();
  }
  if (pending == Pending::Drop) {
    const std::lock_guard lock(m_background->mutex);
    m_background->job.reset();
  }
  WaitForWriter();
}

void TableRecovery::WaitForWriter() const {
  if (!m_background) return;
  std::unique_lock lock(m_background->mutex);
  m_background->changed.wait(lock, [&] { return !m_background->writing && !m_background->job; });
}

void TableRecovery::Flush() {
  Settle(Pending::Write);
  ReportFailure();
}

void TableRecovery::Remove() {
  Settle(Pending::Drop);
  ClearSlot();
}

// On the window's thread or the writer's, never on both at once.
void TableRecovery::ClearSlot() {
  if (m_slot == 0) return;
  RemoveSlotFiles(m_slot);
  m_writtenName = QString();
}
void TableRecovery::Fail() {
  m_failed = true;
}

void TableRecovery::ReportFailure() {
  if (!m_failed || m_reported) return;
  m_reported = true;
  m_dialogs.Message(
      QStringLiteral("Незаписаната таблица не може да се пази за възстановяване в папката "
                     "%1. Програмата работи нататък; записвайте таблицата с F2.")
          .arg(QDir::toNativeSeparators(m_folder)));
}
