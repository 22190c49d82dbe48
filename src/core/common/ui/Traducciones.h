#pragma once

class QCoreApplication;

// Installs Qt's own Spanish texts (standard buttons, input dialogs, context menus of text fields)
// so that no English word of the toolkit reaches the screen. False when the translation files are
// missing (the program then still runs, in the toolkit's English for those words).
bool cargaTraducciones(QCoreApplication &app);
