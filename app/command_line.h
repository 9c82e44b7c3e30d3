#pragma once

#include <QtCore/QString>
#include <QtCore/QStringList>

class MainWindow;
class QTextStream;

// What the window's command line asks for: at most one channel file to open, and no option.
// Anything else is a complaint, and then nothing of it is used.
struct CommandLine {
    QString file; // absolute, or empty
    QString complaint;
};

// The arguments as the application holds them once Qt has taken its own, the program first.
CommandLine readCommandLine(const QStringList &arguments);

// Opens the file the arguments name as File > Open would; a complaint goes to errors.
void openFromCommandLine(MainWindow &window, const QStringList &arguments, QTextStream &errors);
