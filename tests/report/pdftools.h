#pragma once

#include <QList>
#include <QPrinter>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <memory>

// Reading printed PDF files back with poppler-utils.
namespace pdftools {

// A high-resolution PDF printer on A4, as a fresh system printer would start.
std::unique_ptr<QPrinter> A4PdfPrinter(const QString& file);

// The output of a poppler tool; empty when it could not run.
QString Run(const QString& program, const QStringList& arguments);
// pdftotext -layout of the pages first..last (0: to the end).
QString Text(const QString& file, int first = 1, int last = 0);
int PageCount(const QString& file);
// Width and height of page 1 in points.
QSizeF PageSize(const QString& file);
struct Word {
  QString text;
  double left = 0;
  double right = 0;
  double top = 0;
};
// The words of page `page` with their boxes (pdftotext -bbox).
QList<Word> Words(const QString& file, int page = 1);
// The text with every run of white space made one blank, lines kept.
QString Collapsed(const QString& text);
// The font names pdffonts lists.
QStringList Fonts(const QString& file);

}  // namespace pdftools
