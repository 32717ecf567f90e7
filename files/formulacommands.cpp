#include "formulacommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "errormessage.h"
#include "filelisting.h"
#include "filenames.h"
#include "formulafile.h"
#include "rowediting.h"
#include "safefile.h"

namespace {

QString LostCharactersMessage(const EncodedFormulaFile& file) {
  QStringList where;
  if (file.explanationLost) where.append(QStringLiteral("обяснението"));
  for (int record : file.lostRecords) where.append(QStringLiteral("ред %1").arg(record + 1));
  return QStringLiteral(
             "Файлът е записан, но някои знаци не съществуват в кодовата таблица "
             "Windows-1251 и са записани като \"?\": ") +
         where.join(QStringLiteral(", ")) + u'.';
}

// Never shown while every row is stored as one line; it keeps a damaged file from being written.
QString LineEndMessage(const EncodedFormulaFile& file) {
  QStringList where;
  if (file.explanationRefused) where.append(QStringLiteral("обяснението"));
  for (int record : file.refusedRecords) where.append(QStringLiteral("ред %1").arg(record + 1));
  return QStringLiteral("Файлът не е записан: знак за нов ред в ") +
         where.join(QStringLiteral(", ")) + u'.';
}

}  // namespace

Status WriteFile(const QString& path, const QByteArray& bytes) {
  const QFileInfo target(path);
  return WriteFileAtomically(target.path(), target.fileName(), bytes);
}

FileOutcome SaveFormulaFile(TableState& state, Dialogs& dialogs) {
  const QString answer =
      dialogs.InputBox(kSaveNamePrompt.toString(), kSaveNameTitle.toString(), state.lastFileName);
  if (answer.isEmpty()) return FileOutcome::Untouched;
  const QString name = WithDefaultExtension(answer, QStringLiteral(".SPR"));
  // The name and the explanation rule stand even when writing fails or the name is refused,
  // so the next prompt offers the name for correction.
  state.lastFileName = name;
  state.explanation = ExplanationForFile(state.explanation);

  const EncodedFormulaFile file = EncodeFormulaFile(state);
  if (file.Refused()) {
    dialogs.Message(LineEndMessage(file));
    return FileOutcome::Failed;
  }
  if (const Status written = WriteFileAtomically(state.startDirectory, name, file.bytes);
      !written.ok()) {
    dialogs.Message(ErrorMessage(written.failure()));
    return FileOutcome::Failed;
  }
  if (file.explanationLost || !file.lostRecords.isEmpty())
    dialogs.Message(LostCharactersMessage(file));
  return FileOutcome::Done;
}

ReadOutcome ReadFormulaFile(TableState& state, Dialogs& dialogs, DateSettings dates) {
  const QString chosen = dialogs.ChooseFile(QStringLiteral("*.SPR"));
  if (chosen.isEmpty()) return {};
  return OpenFormulaFile(state, ResolveEntry(state.startDirectory, chosen), dates);
}

ReadOutcome OpenFormulaFile(TableState& state, const QString& name, DateSettings dates) {
  const Result<std::unique_ptr<QFile>> opened = OpenOrdinaryFile(state.startDirectory, name);
  if (!opened.ok()) return {FileOutcome::Untouched, false, opened.failure()};
  QFile& file = **opened;

  const DecodedFormulaFile decoded = DecodeFormulaFile(file);
  const bool readFailed = file.error() != QFileDevice::NoError;
  file.close();
  ApplyFormulaFile(decoded, state);
  // A file holds no results: blank cells beside formulas would read as zeros.
  mdlCalcFunction evaluator(dates, &state);
  RecalculateAll(state, evaluator);
  const bool explanationRead = decoded.explanation.has_value();
  if (readFailed) return {FileOutcome::Failed, explanationRead, ErrorCode::PathFileAccess};
  // Only a file that was read becomes the next save's default name.
  state.lastFileName = name;
  return {FileOutcome::Done, explanationRead, Status()};
}

QString StartDirectoryOf(const QString& path, const QString& otherwise) {
  const QFileInfo given(path);
  return given.absoluteDir().exists() ? given.absolutePath() : otherwise;
}

void TakeStartDirectoryOf(TableState& state, const QString& path) {
  state.startDirectory = StartDirectoryOf(path, state.startDirectory);
}

ReadOutcome ReadFormulaFileAt(TableState& state, const QString& path, DateSettings dates) {
  TakeStartDirectoryOf(state, path);
  return OpenFormulaFile(state, QFileInfo(path).fileName(), dates);
}
