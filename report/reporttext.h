#pragma once

#include <QChar>
#include <QString>

class TableState;

// The table as a fixed-pitch text report: the title centred over the table, a ruled header
// and one numbered line per listed row (rows 0..25). Every line ends with CR LF. `title` is
// the explanation field's text; blanks around it are dropped here.
QString ComposeTableReport(const TableState& state, int roundingDigits, const QString& title,
                           QChar decimalPoint);
