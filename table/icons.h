#pragma once

#include <QIcon>

// The 16 x 16 icon of a command button (by object name, e.g. "cmdSaveFile") or of the
// square-root button "cmdSqr": the desktop theme's icon when there is one, otherwise our own
// drawing, so that a button never stands empty.
QIcon ButtonIcon(const QString& name);
