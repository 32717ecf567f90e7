#include "formulacommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <optional>

#include "errormessage.h"
#include "filelisting.h"
#include "filenames.h"
#include "formulafile.h"

namespace {

ErrorCode OpenFailure(const QString& path) {
  const QFileInfo target(path);
  if (!target.absoluteDir().exists()) return ErrorCode::PathNotFound;
  return target.exists() ? ErrorCode::PathFileAccess : ErrorCode::BadFileName;
}

}  // namespace

// Writes beside the target and renames, so a failed save leaves the old file as it was.
std::optional<ErrorCode> WriteFile(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return OpenFailure(path);
  // Without a commit the destructor removes the half-written copy.
  if (file.write(bytes) != bytes.size()) return ErrorCode::DiskFull;
  if (!file.commit())
    return file.error() == QFileDevice::WriteError || file.error() == QFileDevice::ResizeError
               ? ErrorCode::DiskFull
               : ErrorCode::PathFileAccess;
  return std::nullopt;
}

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

}  // namespace

FileOutcome SaveFormulaFile(TableState& state, Dialogs& dialogs) {
  const QString answer = dialogs.InputBox(kSaveNamePrompt, kSaveNameTitle, state.lastFileName);
  if (answer.isEmpty()) return FileOutcome::Untouched;
  const QString name = WithDefaultExtension(answer, QStringLiteral(".SPR"));
  // The name and the explanation rule stand even when writing fails or the name is refused,
  // so the next prompt offers the name for correction.
  state.lastFileName = name;
  state.explanation = ExplanationForFile(state.explanation);
  if (!IsPlainFileName(name)) {
    dialogs.Message(ErrorMessage(ErrorCode::BadFileName));
    return FileOutcome::Failed;
  }

  const EncodedFormulaFile file = EncodeFormulaFile(state);
  if (const auto failure = WriteFile(PathInDirectory(state.startDirectory, name), file.bytes)) {
    dialogs.Message(ErrorMessage(*failure));
    return FileOutcome::Failed;
  }
  if (file.explanationLost || !file.lostRecords.isEmpty())
    dialogs.Message(LostCharactersMessage(file));
  return FileOutcome::Done;
}

FileOutcome ReadFormulaFile(TableState& state, Dialogs& dialogs,
                            const std::function<void()>& makeScreen,
                            const std::function<void(const QString&)>& setExplanationField) {
  const QString chosen = dialogs.ChooseFile(QStringLiteral("*.SPR"));
  if (chosen.isEmpty()) {
    makeScreen();
    return FileOutcome::Untouched;
  }
  return ReadNamedFormulaFile(state, dialogs, ResolveEntry(state.startDirectory, chosen),
                              makeScreen, setExplanationField);
}

FileOutcome ReadNamedFormulaFile(TableState& state, Dialogs& dialogs, const QString& name,
                                 const std::function<void()>& makeScreen,
                                 const std::function<void(const QString&)>& setExplanationField) {
  const QString path = PathInDirectory(state.startDirectory, name);
  QFile file(path);
  // Only an ordinary file: a pipe or a device could be read for ever.
  const QFileInfo info(path);
  if (!IsPlainFileName(name) || !info.isFile() || !file.open(QIODevice::ReadOnly)) {
    dialogs.Message(
        ErrorMessage(info.exists() ? ErrorCode::PathFileAccess : ErrorCode::FileNotFound));
    makeScreen();
    return FileOutcome::Untouched;
  }

  const DecodedFormulaFile decoded = DecodeFormulaFile(file);
  const bool readFailed = file.error() != QFileDevice::NoError;
  file.close();
  ApplyFormulaFile(decoded, state);
  if (decoded.explanation) setExplanationField(state.explanation);
  // Only a file that was read becomes the next save's default name.
  if (!readFailed) state.lastFileName = name;
  makeScreen();
  if (!readFailed) return FileOutcome::Done;
  dialogs.Message(ErrorMessage(ErrorCode::PathFileAccess));
  return FileOutcome::Failed;
}

void TakeStartDirectoryOf(TableState& state, const QString& path) {
  const QFileInfo given(path);
  // A missing directory would leave every later save failing; the old start directory stays.
  if (given.absoluteDir().exists()) state.startDirectory = given.absolutePath();
}

FileOutcome ReadFormulaFileAt(TableState& state, Dialogs& dialogs, const QString& path,
                              const std::function<void()>& makeScreen,
                              const std::function<void(const QString&)>& setExplanationField) {
  TakeStartDirectoryOf(state, path);
  return ReadNamedFormulaFile(state, dialogs, QFileInfo(path).fileName(), makeScreen,
                              setExplanationField);
}
