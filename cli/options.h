#pragma once

#include "channels/channel_rows.h"

#include <QtCore/QByteArray>
#include <QtCore/QCommandLineParser>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <optional>
#include <variant>

enum class CommandKind { Ports, Read, Write, Verify };

// What one run of the tool is asked to do.
struct CliOptions {
    CommandKind command = CommandKind::Ports;
    QString file; // the channel file; "-" for standard output (read only)
    bool verify = false;
    QString backup;
    std::optional<int> port;
    std::optional<TransceiverType> transceiverType;
    QString trace;
    bool quiet = false;
};

// The command line of varlo-cli.
class CliParser {
public:
    CliParser();

    // The options, or the usage problem to report.
    std::variant<CliOptions, QString> parse(const QStringList &arguments);
    [[nodiscard]] bool helpRequested() const { return parser_.isSet(QStringLiteral("help")); }
    [[nodiscard]] bool versionRequested() const { return parser_.isSet(QStringLiteral("version")); }
    [[nodiscard]] QString helpText() const { return parser_.helpText(); }

private:
    std::variant<CliOptions, QString> optionsFromParser() const;

    QCommandLineParser parser_;
};

// Port and channel count not given on the command line come from the settings record, when
// one is stored (its port is not 0); otherwise COM1 and six channels.
void applyStoredSettings(CliOptions &options, const QByteArray &settingsBytes);
