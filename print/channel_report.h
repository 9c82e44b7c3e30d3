#pragma once

#include <QtCore/QString>
#include <QtCore/QStringList>

// The channel report, exactly as printed and copied into the report box: four empty lines,
// the serial number with the date and time, a rule, an empty line, then one line per
// channel in use. Lines end in CR LF; the columns are separated by tabs.
QString channelReport(const QString &serialNo, const QString &date, const QString &time,
                      const QStringList &frequencies);

// The serial number an entry gives: its text without line breaks, cut to the 8 characters
// the settings keep, so that the number printed is the number stored.
QString serialNumberFromEntry(const QString &text);

// Whether a user's edit that leaves this text in the entry box completes the entry.
bool entryIsComplete(const QString &text);
