#include "cli/options.h"

#include "files/safe_file.h"
#include "files/settings_record.h"

#include <QtCore/QFileInfo>

namespace {

const QString kPort = QStringLiteral("port");
const QString kType = QStringLiteral("type");
const QString kTrace = QStringLiteral("trace");
const QString kQuiet = QStringLiteral("quiet");
const QString kVerify = QStringLiteral("verify");
const QString kBackup = QStringLiteral("backup");

const char *const kDescription = R"(Reads, writes and verifies a Varlo radio over its serial port.

Commands:
  ports         list the COM numbers that stand for a device
  read FILE     read the radio's channels into FILE ("-": standard output)
  write FILE    write the channels of FILE into the radio
  verify FILE   compare the radio's channels with FILE

Exit status: 0 done, 1 usage, 2 a file cannot be read or written or holds an
invalid line, 3 the port cannot be opened, 4 the radio did not answer as
expected, 5 verify found channels that differ, 130/143 after SIGINT/SIGTERM.)";

std::optional<CommandKind> commandNamed(const QString &name)
{
    if (name == u"ports")
        return CommandKind::Ports;
    if (name == u"read")
        return CommandKind::Read;
    if (name == u"write")
        return CommandKind::Write;
    if (name == u"verify")
        return CommandKind::Verify;
    return std::nullopt;
}

// The same name, or another name for the same file.
bool namesSameFile(const QString &first, const QString &second)
{
    return QFileInfo(first).absoluteFilePath() == QFileInfo(second).absoluteFilePath() || sameFile(first, second);
}

} // namespace

CliParser::CliParser()
{
    parser_.setApplicationDescription(QString::fromUtf8(kDescription));
    parser_.addHelpOption();
    parser_.addVersionOption();
    parser_.addOptions({
        {{"p", kPort}, "The COM port number (default: the settings file Varlo here, else 1).", "N"},
        {{"t", kType}, "Channels of the transceiver, 1 or 6 (default: as the settings file, else 6).", "1|6"},
        {kTrace, "Write the serial-line trace to FILE.", "FILE"},
        {{"q", kQuiet}, "No progress line."},
        {kVerify, "write: read the radio back afterwards and compare."},
        {kBackup, "write: save the channels the radio held before, as a channel file.", "FILE"},
    });
    parser_.addPositionalArgument("command", "ports, read, write or verify.");
    parser_.addPositionalArgument("FILE", "The channel file.", "[FILE]");
}

std::variant<CliOptions, QString> CliParser::parse(const QStringList &arguments)
{
    if (!parser_.parse(arguments))
        return parser_.errorText();
    if (helpRequested() || versionRequested())
        return CliOptions{};
    return optionsFromParser();
}

std::variant<CliOptions, QString> CliParser::optionsFromParser() const
{
    const QStringList positional = parser_.positionalArguments();
    const auto command = positional.isEmpty() ? std::nullopt : commandNamed(positional.first());
    if (!command)
        return positional.isEmpty() ? QStringLiteral("no command given") : "unknown command: " + positional.first();
    CliOptions options;
    options.command = *command;
    const qsizetype wanted = *command == CommandKind::Ports ? 1 : 2;
    if (positional.size() != wanted)
        return wanted == 1 ? QStringLiteral("ports takes no file") : positional.first() + " needs one FILE";
    options.file = positional.value(1);
    if (options.file == u"-" && *command != CommandKind::Read)
        return positional.first() + " needs a file, not standard input";
    options.verify = parser_.isSet(kVerify);
    options.backup = parser_.value(kBackup);
    if ((options.verify || parser_.isSet(kBackup)) && *command != CommandKind::Write)
        return QStringLiteral("--verify and --backup go with write only");
    if (parser_.isSet(kBackup) && (options.backup.isEmpty() || namesSameFile(options.backup, options.file)))
        return QStringLiteral("--backup needs a file other than the one written");
    if (parser_.isSet(kPort)) {
        bool ok = false;
        options.port = parser_.value(kPort).toInt(&ok);
        if (!ok || *options.port < 1 || *options.port > 32767)
            return "not a COM port number: " + parser_.value(kPort);
    }
    if (parser_.isSet(kType)) {
        const QString type = parser_.value(kType);
        if (type != u"1" && type != u"6")
            return "the type is 1 or 6, not " + type;
        options.transceiverType = type == u"1" ? TransceiverType::OneChannel : TransceiverType::SixChannels;
    }
    options.trace = parser_.value(kTrace);
    options.quiet = parser_.isSet(kQuiet);
    return options;
}

void applyStoredSettings(CliOptions &options, const QByteArray &settingsBytes)
{
    const SettingsRecord record = SettingsRecord::decode(settingsBytes);
    const bool stored = record.comPort() != 0;
    if (!options.port)
        options.port = stored ? int(record.comPort()) : 1;
    if (!options.transceiverType)
        options.transceiverType = stored ? record.transceiverType() : TransceiverType::SixChannels;
}
