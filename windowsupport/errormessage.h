#pragma once

#include <QString>

// Failures of file and printer steps are reported as "number: description", with the
// numbers users of the earlier program know.
enum class ErrorCode {
  BadFileName = 52,
  FileNotFound = 53,
  NotAFile = 58,  // a folder, a device, a pipe or a socket stands where a file would go
  DiskFull = 61,
  PermissionDenied = 70,
  PathFileAccess = 75,
  PathNotFound = 76,
  PrinterError = 482,
  NoDefaultPrinter = 484,
  // Not a numbered failure: a PDF may not take a formula file's name, and PdfFile::Message
  // says so in words that name the file.
  FormulaFileName = -1,
};

QString ErrorDescription(ErrorCode code);
// "53: Файлът не е намерен", or with the description given.
QString ErrorMessage(ErrorCode code);
QString ErrorMessage(ErrorCode code, const QString& description);
