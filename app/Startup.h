#pragma once
#include <QStringList>

class IniSettings;
class MainWindow;
class QTranslator;

// The application's drag distance, translation, identity and image reader
// limit (see allowLargestImages), set before any window exists. The
// translator is installed even when no translation matches the system's
// language, in which case it translates nothing.
void setUpApplication(QTranslator& translator);

// What runs once the main window is shown: the documents named by the
// arguments (the program's own name first), or without any the projects of
// the last session; then, on the first run only, the welcome messages.
// settings is the object loaded when the program started.
void startUp(MainWindow& window, IniSettings& settings, const QStringList& arguments);

// Blocks until every worker thread of every window has finished, so that a
// run still going when the event loop ends completes its files instead of
// being cut off by the end of the process.
void waitForWorkers();
