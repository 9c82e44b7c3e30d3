#include "app/command_line.h"

#include "app/main_window.h"

#include <QtCore/QFileInfo>
#include <QtCore/QTextStream>

namespace {

struct CommandLine {
    QString file; // absolute, or empty
    QString complaint;
};

CommandLine readCommandLine(const QStringList &arguments)
{
    const QStringList named = arguments.mid(1);
    for (const QString &argument : named)
        if (argument.startsWith(u'-'))
            return {{}, QStringLiteral("varlo: unknown option %1; no file is opened").arg(argument)};
    if (named.size() > 1)
        return {{}, QStringLiteral("varlo: more than one file named; none is opened")};
    if (named.isEmpty() || named.first().isEmpty())
        return {};
    return {QFileInfo(named.first()).absoluteFilePath(), {}};
}

} // namespace

void openFromCommandLine(MainWindow &window, const QStringList &arguments, QTextStream &errors)
{
    const CommandLine line = readCommandLine(arguments);
    if (!line.complaint.isEmpty())
        errors << line.complaint << Qt::endl;
    if (!line.file.isEmpty())
        window.loadChannelFile(line.file);
}
