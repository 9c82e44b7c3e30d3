#include "radio_simulator.h"

#include <QtCore/QCommandLineParser>
#include <QtCore/QCoreApplication>
#include <QtCore/QDir>

#include <csignal>
#include <cstdio>
#include <optional>

namespace {

const char *const description = R"(A stand-in for the Varlo radio: try the program without a radio.

It opens a pseudo-terminal, links COMn in the chosen folder to it, prints the
terminal's path and answers the radio's text menu on it until Ctrl+C (SIGINT)
or SIGTERM; then it removes the link. Start Varlo in the same folder and choose
Com n: Download writes the six channels into the simulated radio, Upload reads
them back. The radio keeps its channels while it runs.

Scenarios (--scenario NAME or NAME:N):
  normal            a working radio (default)
  silent            never answers anything
  no-c              answers "6" with a text holding no "C"
  short-listing     the channel listing ends one character short
                    (149 characters from its first "C"), without its question
  no-point          never echoes the "." after a channel's two leading digits
  no-s-or-r         never asks "S or R" after the sixth channel (still takes "S")
  never-ready       after the EEPROM write sends only the menu line, never
                    "The radio is now ready for use."
  ready-after:N     the ready text comes N seconds after "S"
  invalid-record:K  record K (1..6) of the listing shows "999.999"
  hang-up:N         drops the line on receiving byte number N, then exits
  noise:N           on byte number N the line catches 16 random printable bytes
                    (never "C"); the radio's answers are held back one second
                    behind them, so a reader first sees the noise alone

Bytes are counted from 1 since the start. A download sends 35: 1 = carriage
return, 2 = "6", 3 = "Y", then five digits per channel (channel k: bytes
5k-1 .. 5k+3), 34 = "S", 35 = carriage return. An upload sends 4: carriage
return, "6", "N", carriage return.

The log file gets one line per received byte: nanoseconds since the start, a
space, the byte in hex.

Exit status: 0 when stopped by a signal, 1 after a hang-up, 2 on bad options
or when the terminal or the link cannot be made.)";

std::optional<ScenarioChoice> parseScenario(const QString &text)
{
    static const QList<std::pair<QString, Scenario>> names = {
        {"normal", Scenario::Normal},
        {"silent", Scenario::Silent},
        {"no-c", Scenario::NoC},
        {"short-listing", Scenario::ShortListing},
        {"no-point", Scenario::NoPoint},
        {"no-s-or-r", Scenario::NoStoreQuestion},
        {"never-ready", Scenario::NeverReady},
        {"ready-after", Scenario::ReadyAfter},
        {"invalid-record", Scenario::InvalidRecord},
        {"hang-up", Scenario::HangUp},
        {"noise", Scenario::LineNoise},
    };
    const QStringList parts = text.split(u':');
    const bool takesNumber = parts[0] == u"ready-after" || parts[0] == u"invalid-record"
                             || parts[0] == u"hang-up" || parts[0] == u"noise";
    bool numeric = parts.size() == 2;
    const int value = numeric ? parts[1].toInt(&numeric) : 0;
    if (parts.size() > 2 || numeric != takesNumber || value < 0)
        return std::nullopt;
    for (const auto &[name, scenario] : names) {
        if (name == parts[0])
            return ScenarioChoice{scenario, value};
    }
    return std::nullopt;
}

std::optional<Channels> parseChannels(const QString &text)
{
    const QStringList list = text.split(u',');
    if (list.size() != 6)
        return std::nullopt;
    Channels channels;
    for (int i = 0; i < 6; ++i) {
        channels[i] = list[i].trimmed();
        if (channels[i].size() != 7)
            return std::nullopt;
    }
    return channels;
}

[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "varlo-sim: %s\n", qPrintable(message));
    std::exit(2);
}

RadioSimulator::Options readOptions(const QCoreApplication &application)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(description));
    parser.addHelpOption();
    const QCommandLineOption directory({"d", "directory"}, "Folder for the COMn link (default: the current one).", "folder", QDir::currentPath());
    const QCommandLineOption com({"p", "com"}, "The n of COMn, 1..255 (default 1).", "n", "1");
    const QCommandLineOption scenario({"s", "scenario"}, "How the radio misbehaves, see above (default normal).", "name[:N]", "normal");
    const QCommandLineOption channels({"c", "channels"}, "The six channels it starts with, seven characters each, comma-separated (default " + defaultChannels()[0] + ",...).", "f1,...,f6");
    const QCommandLineOption eeprom({"e", "eeprom-delay"}, "Seconds the EEPROM write takes after \"S\" (default 3).", "seconds", "3");
    const QCommandLineOption log({"l", "log"}, "Append every received byte with its time to this file.", "file");
    parser.addOptions({directory, com, scenario, channels, eeprom, log});
    parser.process(application);

    RadioSimulator::Options options;
    options.directory = parser.value(directory);
    options.logPath = parser.value(log);
    bool ok = false;
    options.comNumber = parser.value(com).toInt(&ok);
    if (!ok || options.comNumber < 1 || options.comNumber > 255)
        fail("bad COM number: " + parser.value(com));
    const double seconds = parser.value(eeprom).toDouble(&ok);
    if (!ok || seconds < 0)
        fail("bad EEPROM delay: " + parser.value(eeprom));
    options.eepromDelay = std::chrono::milliseconds(qRound64(seconds * 1000));
    const auto choice = parseScenario(parser.value(scenario));
    if (!choice)
        fail("unknown scenario: " + parser.value(scenario));
    options.scenario = *choice;
    if (parser.isSet(channels)) {
        const auto list = parseChannels(parser.value(channels));
        if (!list)
            fail("need six channels of seven characters: " + parser.value(channels));
        options.channels = *list;
    }
    return options;
}

// Waits for Ctrl+C or SIGTERM (true), or for the line to drop (false).
bool runUntilStopped(const RadioSimulator &simulator, const sigset_t &stopSignals)
{
    const timespec pause{0, 200'000'000};
    while (simulator.isRunning()) {
        if (sigtimedwait(&stopSignals, nullptr, &pause) > 0)
            return true;
    }
    std::fprintf(stderr, "varlo-sim: the line was hung up\n");
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("varlo-sim"));
    const RadioSimulator::Options options = readOptions(application);

    // Blocked before the radio's thread starts, so only sigtimedwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    RadioSimulator simulator(options);
    if (!simulator.start())
        fail(simulator.errorString());
    std::printf("%s\n", qPrintable(simulator.slavePath()));
    std::fflush(stdout);
    std::fprintf(stderr, "varlo-sim: %s -> %s; Ctrl+C stops\n", qPrintable(simulator.linkPath()),
                 qPrintable(simulator.slavePath()));
    const bool stopped = runUntilStopped(simulator, stopSignals);
    simulator.stop();
    return stopped ? 0 : 1;
}
