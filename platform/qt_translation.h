#pragma once
// Qt's own texts in the suite's language: the standard buttons of every
// message box and dialog, the print and print-preview dialogs, the file
// dialogs' warnings. They come from Qt's translation catalogue "qtbase_uk"
// in the translations folder of the Qt installation; the install root
// carries no catalogue of its own.

namespace platform {

// Installs the catalogue on the running application, once per process; a
// program's start calls it before its first window or message box. False,
// with a line on the error stream, without an application or when the
// catalogue cannot be read: Qt's texts then stay in English.
bool installQtTranslation();

}  // namespace platform
