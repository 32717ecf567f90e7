#pragma once

#include <QChar>
#include <QString>

class TableState;

// The table as a fixed-pitch text report: the title centred over the table, a ruled header
// and one numbered line per listed row (rows 0..25), results with the state's rounding digits.
// Every line ends with CR LF. `title` is the explanation field's text, not the state's: saving
// may put " " into the state's text while the field keeps what the user sees. Blanks around
// the title are dropped here.
QString ComposeTableReport(const TableState& state, const QString& title, QChar decimalPoint);
