#include "errormessage.h"

QString ErrorDescription(ErrorCode code) {
  switch (code) {
    case ErrorCode::BadFileName:
      return QStringLiteral("Неправилно име на файл");
    case ErrorCode::FileNotFound:
      return QStringLiteral("Файлът не е намерен");
    case ErrorCode::NotAFile:
      return QStringLiteral("Под това име има папка, устройство или канал, а не файл");
    case ErrorCode::DiskFull:
      return QStringLiteral("Дискът е пълен");
    case ErrorCode::PermissionDenied:
      return QStringLiteral("Достъпът е отказан");
    case ErrorCode::PathFileAccess:
      return QStringLiteral("Грешка при достъп до файла");
    case ErrorCode::PathNotFound:
      return QStringLiteral("Пътят не е намерен");
    case ErrorCode::PrinterError:
      return QStringLiteral("Грешка на принтера");
    case ErrorCode::NoDefaultPrinter:
      return QStringLiteral("Няма принтер по подразбиране");
    case ErrorCode::FormulaFileName:
      break;
  }
  return {};
}

QString ErrorMessage(ErrorCode code) {
  return ErrorMessage(code, ErrorDescription(code));
}

QString ErrorMessage(ErrorCode code, const QString& description) {
  return QString::number(static_cast<int>(code)) + QStringLiteral(": ") + description;
}
