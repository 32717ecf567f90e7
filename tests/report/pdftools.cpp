#include "pdftools.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>

namespace pdftools {

std::unique_ptr<QPrinter> A4PdfPrinter(const QString& file) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(file);
  printer->setPageSize(QPageSize(QPageSize::A4));
  return printer;
}

QString Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString Text(const QString& file, int first, int last) {
  QStringList arguments{QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                        QStringLiteral("-f"), QString::number(first)};
  if (last > 0) arguments << QStringLiteral("-l") << QString::number(last);
  arguments << file << QStringLiteral("-");
  return Run(QStringLiteral("pdftotext"), arguments);
}

int PageCount(const QString& file) {
  const QString info = Run(QStringLiteral("pdfinfo"), {file});
  const QRegularExpressionMatch match =
      QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QSizeF PageSize(const QString& file) {
  const QString info = Run(QStringLiteral("pdfinfo"), {file});
  const QRegularExpressionMatch match =
      QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
  if (!match.hasMatch()) return {};
  return {match.captured(1).toDouble(), match.captured(2).toDouble()};
}

QList<Word> Words(const QString& file, int page) {
  const QString html =
      Run(QStringLiteral("pdftotext"),
          {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
           QStringLiteral("-l"), QString::number(page), file, QStringLiteral("-")});
  static const QRegularExpression word(
      QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                     "yMax=\"[\\d.]+\">([^<]*)</word>"));
  QList<Word> words;
  for (auto it = word.globalMatch(html); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    QString text = m.captured(4);
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    words.append(
        {text, m.captured(1).toDouble(), m.captured(3).toDouble(), m.captured(2).toDouble()});
  }
  return words;
}

QString Collapsed(const QString& text) {
  QStringList lines;
  for (const QString& line : text.split(u'\n')) {
    const QString simple = line.simplified();
    if (!simple.isEmpty()) lines.append(simple);
  }
  return lines.join(u'\n');
}

QStringList Fonts(const QString& file) {
  QStringList names;
  const QStringList lines = Run(QStringLiteral("pdffonts"), {file}).split(u'\n');
  for (const QString& line : lines.mid(2)) {
    const QString name = line.section(u' ', 0, 0, QString::SectionSkipEmpty);
    if (!name.isEmpty()) names.append(name.section(u'+', -1));  // drop the subset prefix
  }
  return names;
}

}  // namespace pdftools
