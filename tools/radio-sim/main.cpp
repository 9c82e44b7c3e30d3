#include "radio_simulator.h"

#include <QtCore/QCommandLineParser>
#include <QtCore/QCoreApplication>
#include <QtCore/QDir>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

const char *const description = R"(A stand-in for the Varlo radio: try the program without a radio.

It opens a pseudo-terminal, links COMn in the chosen folder to it, prints the
terminal's path and answers the radio's text menu on it until Ctrl+C (SIGINT)
or SIGTERM; then it removes the link. Start Varlo in the same folder and choose
Com n: Download writes the six channels into the simulated radio, Upload reads
them back. The radio keeps its channels while it runs.

The menu: a carriage return is answered with silence and leaves whatever was
going on (except the EEPROM write, which ignores all input); "6" lists the six channels and asks Y or N; "Y" asks for each channel
in turn, two digits, then ".", then three digits (the leading "1" is fixed);
after the sixth it asks "S or R": "S" saves (the EEPROM write, then "The radio
is now ready for use."), "R" returns without saving; "N" returns to the menu.

Scenarios (--scenario NAME or NAME:N):
  normal            a working radio (default)
  silent            never answers anything
  no-c              answers "6" with a text holding no "C"
  short-listing     the channel listing ends one character short
                    (149 characters from its first "C"), without its question
  no-question       lists the channels without asking Y or N (still takes "Y")
  short-prompt:K    the prompt for channel K ends after 51 characters, counted
                    from its "Channel", so without the fixed "1"
  wrong-channel:K   the prompt for channel K names channel K+1
  no-point          never echoes the "." after a channel's two leading digits
  no-s-or-r         never asks "S or R" after the sixth channel (still takes "S")
  never-ready       after the EEPROM write sends only the menu line, never
                    "The radio is now ready for use."
  ready-after:N     the ready text comes N seconds after "S"
  no-menu-line      never sends the line that asks for ENTER to return to the menu
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

[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "varlo-sim: %s\n", qPrintable(message));
    std::exit(2);
}

struct ScenarioName {
    const char *name;
    Scenario scenario;
    bool takesNumber;
};

// NAME or NAME:N, as the help lists them.
ScenarioChoice scenarioFrom(const QString &text)
{
    static const ScenarioName names[] = {
        {"normal", Scenario::Normal, false},
        {"silent", Scenario::Silent, false},
        {"no-c", Scenario::NoC, false},
        {"short-listing", Scenario::ShortListing, false},
        {"no-question", Scenario::NoEditQuestion, false},
        {"short-prompt", Scenario::ShortPrompt, true},
        {"wrong-channel", Scenario::WrongChannel, true},
        {"no-point", Scenario::NoPoint, false},
        {"no-s-or-r", Scenario::NoStoreQuestion, false},
        {"never-ready", Scenario::NeverReady, false},
        {"ready-after", Scenario::ReadyAfter, true},
        {"no-menu-line", Scenario::NoMenuLine, false},
        {"invalid-record", Scenario::InvalidRecord, true},
        {"hang-up", Scenario::HangUp, true},
        {"noise", Scenario::LineNoise, true},
    };
    const QStringList parts = text.split(u':');
    bool numeric = parts.size() == 2;
    const int value = numeric ? parts[1].toInt(&numeric) : 0;
    for (const ScenarioName &each : names) {
        if (parts[0] == QLatin1String(each.name) && parts.size() <= 2 && numeric == each.takesNumber && value >= 0)
            return {each.scenario, value};
    }
    fail("unknown scenario: " + text);
}

Channels channelsFrom(const QString &text)
{
    const QStringList list = text.split(u',');
    Channels channels;
    for (qsizetype i = 0; i < list.size() && i < 6; ++i)
        channels[i] = list[i].trimmed();
    const bool allSeven =
        std::all_of(channels.begin(), channels.end(), [](const QString &each) { return each.size() == 7; });
    if (list.size() != 6 || !allSeven)
        fail("need six channels of seven characters: " + text);
    return channels;
}

int comNumberFrom(const QString &text)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < 1 || number > 255)
        fail("bad COM number: " + text);
    return number;
}

std::chrono::milliseconds delayFrom(const QString &text)
{
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || seconds < 0)
        fail("bad EEPROM delay: " + text);
    return std::chrono::milliseconds(qRound64(seconds * 1000));
}

QString defaultChannelList()
{
    const Channels channels = defaultChannels();
    return QStringList(channels.begin(), channels.end()).join(u',');
}

RadioSimulator::Options readOptions(const QCoreApplication &application)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(description));
    parser.addHelpOption();
    const QCommandLineOption directory({"d", "directory"}, "Folder for the COMn link (default: the current one).",
                                       "folder", QDir::currentPath());
    const QCommandLineOption com({"p", "com"}, "The n of COMn, 1..255 (default 1).", "n", "1");
    const QCommandLineOption scenario({"s", "scenario"}, "How the radio misbehaves, see above (default normal).",
                                      "name[:N]", "normal");
    const QCommandLineOption channels(
        {"c", "channels"},
        "The six channels it starts with, seven characters each, comma-separated (default " + defaultChannelList()
            + ").",
        "f1,...,f6", defaultChannelList());
    const QCommandLineOption eeprom({"e", "eeprom-delay"}, "Seconds the EEPROM write takes after \"S\" (default 3).",
                                    "seconds", "3");
    const QCommandLineOption log({"l", "log"}, "Append every received byte with its time to this file.", "file");
    parser.addOptions({directory, com, scenario, channels, eeprom, log});
    parser.process(application);

    RadioSimulator::Options options;
    options.directory = parser.value(directory);
    options.logPath = parser.value(log);
    options.comNumber = comNumberFrom(parser.value(com));
    options.eepromDelay = delayFrom(parser.value(eeprom));
    options.scenario = scenarioFrom(parser.value(scenario));
    options.channels = channelsFrom(parser.value(channels));
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
