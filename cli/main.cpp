// varlo-cli: reads, writes and verifies a radio from the command line, on the window's core.

#include "cli/cli_session.h"
#include "cli/log_routing.h"
#include "cli/port_listing.h"
#include "cli/terminal.h"
#include "files/safe_file.h"
#include "files/settings_file.h"
#include "files/settings_record.h"
#include "link/qt_serial_link.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTimer>

#include <cstdio>

namespace {

constexpr int kSignalBase = 128;

int listPorts(Console &console)
{
    const ComPortResolver resolver;
    for (const QString &line : portListing(resolver, availableSystemPorts().size()))
        console.printLine(line);
    return kDone;
}

QCoro::Task<> runAndExit(CliSession &session)
{
    QCoreApplication::exit(co_await session.run());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("varlo-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VARLO_VERSION));

    CliParser parser;
    auto parsed = parser.parse(QCoreApplication::arguments());
    if (parser.helpRequested() || parser.versionRequested()) {
        std::fputs(
            qPrintable(parser.helpRequested() ? parser.helpText() : QStringLiteral("varlo-cli " VARLO_VERSION "\n")),
            stdout);
        return kDone;
    }
    if (const auto *problem = std::get_if<QString>(&parsed)) {
        std::fprintf(stderr, "varlo-cli: %s\nTry 'varlo-cli --help'.\n", qPrintable(*problem));
        return kUsage;
    }
    CliOptions options = std::get<CliOptions>(parsed);
    // Read only: the tool never creates or writes the window's settings.
    const QString settingsPath = settingsFilePath(QDir::currentPath());
    applyStoredSettings(options, readRegularFile(settingsPath, SettingsRecord::kSize).bytes);

    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    Console console(out, err, !options.quiet && standardErrorIsTerminal());
    LogRouting logRouting(console);
    if (!options.trace.isEmpty() && !logRouting.traceTo(options.trace)) {
        console.report(options.trace + QStringLiteral(": the trace file cannot be written"));
        return kFileProblem;
    }
    if (options.command == CommandKind::Ports)
        return listPorts(console);

    QtSerialLink link;
    RealTimeSource time;
    CliSession session(options, link, time, Timing(), console, settingsPath);
    StopSignals stopSignals;
    if (!stopSignals.install())
        console.report(QStringLiteral("varlo-cli: SIGINT and SIGTERM are not handled"));
    // The run ends within the interrupt, and its end leaves the loop: nothing of it is left
    // to resume once the session is gone.
    QObject::connect(&stopSignals, &StopSignals::received,
                     [&session](int signalNumber) { session.interrupt(kSignalBase + signalNumber); });
    // Started from the event loop, so an exit called at once still ends it.
    QTimer::singleShot(0, [&session] { runAndExit(session); });
    return QCoreApplication::exec();
}
