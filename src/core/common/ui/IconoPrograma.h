#pragma once

#include <QIcon>

// The program's own icon, in every size it ships: the main window, every inner window and dialog
// (through QApplication::setWindowIcon) and the desktop entry show it instead of the toolkit's.
QIcon iconoPrograma();
