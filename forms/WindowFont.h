#pragma once

#include <QFont>

// The program's window font: Tahoma 8 pt where installed, else the
// platform's sans-serif at the same pixel height (11 px).
QFont DefaultWindowFont();
