#pragma once

#include <QtCore/QStringList>

class MainWindow;
class QTextStream;

// The window's command line names at most one channel file, which opens as File > Open would
// open it, and no option. Anything else is a complaint on errors, and then nothing of it is
// used. The arguments are the application's once Qt has taken its own, the program first.
void openFromCommandLine(MainWindow &window, const QStringList &arguments, QTextStream &errors);
