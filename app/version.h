#pragma once

#include <QString>

// The program's version, shown in the window title and the about box.
inline QString programVersion() { return QStringLiteral("0.21 juillet 2013"); }
