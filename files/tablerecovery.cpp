#include "tablerecovery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <functional>

#include "dialogs.h"
#include "formulacommands.h"
#include "tablestate.h"

namespace {

// Enough for every window a user could keep open; the search for a free slot stops there.
constexpr int kMaxSlots = 1000;

const QString kTableSuffix = QStringLiteral(".SPR");
const QString kNameSuffix = QStringLiteral(".name");
const QString kLockSuffix = QStringLiteral(".lock");

class ScopeExit {
 public:
  explicit ScopeExit(std::function<void()> action) : m_action(std::move(action)) {}
  ~ScopeExit() { m_action(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  std::function<void()> m_action;
};

}  // namespace

QString DefaultRecoveryFolder() {
  QString base = qEnvironmentVariable("XDG_STATE_HOME");
  // A relative value is invalid by the XDG rules and would land in the start directory.
  if (base.isEmpty() || QDir::isRelativePath(base))
    base = QDir::homePath() + QStringLiteral("/.local/state");
  return base + QStringLiteral("/verodazava");
}

TableRecovery::TableRecovery(QString folder, Dialogs& dialogs)
    : m_folder(std::move(folder)), m_dialogs(dialogs) {}

TableRecovery::~TableRecovery() = default;

QString TableRecovery::SlotPath(int slot, const QString& suffix) const {
  return m_folder + QStringLiteral("/table-") + QString::number(slot) + suffix;
}

QString TableRecovery::FilePath() const {
  return m_slot > 0 ? SlotPath(m_slot, kTableSuffix) : QString();
}

bool TableRecovery::Lock(int slot) {
  auto lock = std::make_unique<QLockFile>(SlotPath(slot, kLockSuffix));
  // Only a lock whose instance is gone is stale, however old it is.
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) return false;
  m_lock = std::move(lock);
  m_slot = slot;
  m_writtenName.reset();
  return true;
}

std::optional<RecoveredTable> TableRecovery::ReadSlot(int slot) {
  const QString path = SlotPath(slot, kTableSuffix);
  QFile file(path);
  // Only an ordinary file: a pipe could be read for ever.
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
  RecoveredTable table;
  table.file = DecodeFormulaFile(file);
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  QFile name(SlotPath(slot, kNameSuffix));
  if (name.open(QIODevice::ReadOnly)) table.lastFileName = QString::fromUtf8(name.read(4096));
  return table;
}

void TableRecovery::RemoveSlotFiles(int slot) {
  QFile::remove(SlotPath(slot, kTableSuffix));
  QFile::remove(SlotPath(slot, kNameSuffix));
}

std::optional<RecoveredTable> TableRecovery::Claim(bool takeOverLeft) {
  m_lock.reset();
  m_slot = 0;
  if (!QDir().mkpath(m_folder)) {
    Fail();
    return std::nullopt;
  }
  if (takeOverLeft) {
    static const QRegularExpression pattern(QStringLiteral("^table-([1-9][0-9]{0,5})\\.SPR$"));
    QList<int> left;
    for (const QString& entry : QDir(m_folder).entryList(QDir::Files | QDir::System)) {
      const QRegularExpressionMatch match = pattern.match(entry);
      if (match.hasMatch()) left.append(match.captured(1).toInt());
    }
    std::sort(left.begin(), left.end());
    for (int slot : left) {
      if (!Lock(slot)) continue;  // its instance is still running
      std::optional<RecoveredTable> table = ReadSlot(slot);
      if (!table) {
        // Left for the user to look at; this instance takes another slot.
        Fail();
        m_lock.reset();
        m_slot = 0;
        continue;
      }
      TableState found;
      ApplyFormulaFile(table->file, found);
      if (!found.IsEmpty()) return table;
      RemoveSlotFiles(slot);
      return std::nullopt;
    }
  }
  if (!TakeFreeSlot()) Fail();
  return std::nullopt;
}

bool TableRecovery::TakeFreeSlot() {
  for (int slot = 1; slot <= kMaxSlots; ++slot) {
    if (!Lock(slot)) continue;
    // A file under a free lock is a table some finished instance left for a later start.
    if (!QFileInfo::exists(SlotPath(slot, kTableSuffix))) return true;
    m_lock.reset();
    m_slot = 0;
  }
  return false;
}

void TableRecovery::Write(const TableState& state) {
  // Reported here, over the window the user works in, and only once there is work to lose.
  const ScopeExit report([this] { ReportFailure(); });
  if (m_slot == 0 && !(QDir().mkpath(m_folder) && TakeFreeSlot())) {
    Fail();
    return;
  }
  // A refused table keeps the last good recovery file instead of an empty one.
  const EncodedFormulaFile table = EncodeFormulaFile(state);
  if (table.Refused() || WriteFile(SlotPath(m_slot, kTableSuffix), table.bytes)) {
    Fail();
    return;
  }
  if (m_writtenName == state.lastFileName) return;
  const QString namePath = SlotPath(m_slot, kNameSuffix);
  const bool written = state.lastFileName.isEmpty()
                           ? !QFileInfo::exists(namePath) || QFile::remove(namePath)
                           : !WriteFile(namePath, state.lastFileName.toUtf8());
  if (!written) {
    Fail();
    return;
  }
  m_writtenName = state.lastFileName;
}

void TableRecovery::Remove() {
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
