#include "formulaline.h"

namespace {

bool IsLineEnd(QChar c) {
  return c == u'\r' || c == u'\n';
}

bool IsBreakOrControl(QChar c) {
  return c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
         c.category() == QChar::Separator_Paragraph;
}

}  // namespace

QString FormulaLine(QStringView text) {
  if (text.endsWith(u"\r\n"))
    text.chop(2);
  else if (!text.isEmpty() && IsLineEnd(text.back()))
    text.chop(1);

  QString line;
  line.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (!IsBreakOrControl(c)) {
      line += c;
      continue;
    }
    line += u' ';
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
  }
  return line;
}
