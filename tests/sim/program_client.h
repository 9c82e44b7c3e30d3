#pragma once

#include "radio_menu.h"

#include <QtCore/QByteArray>
#include <QtCore/QStringList>

#include <chrono>

// Drives a radio over a serial device the way the program does: one character, then a pause;
// then reply waits with the program's rules (text trimmed of spaces, first occurrence of the
// marker, a length threshold or a mere presence, a time limit).
namespace ProgramClient {

using std::chrono::milliseconds;

struct Pacing {
    milliseconds pace{20};         // after every character sent
    milliseconds limit{400};       // of each wait
    milliseconds readyLimit{1500}; // of the wait for the ready text
};

enum class Outcome { Completed, InvalidPort, CommunicationError, Timeout, LineLost };

struct Transfer {
    Outcome outcome = Outcome::Completed;
    QStringList timedOut;  // waits that ran to their limit without their marker, as "W4"
    QByteArray listing;    // upload: the trimmed reply from its first "C"
    QByteArray transcript; // all that was read
};

Transfer download(const QString &device, const Channels &channels, const Pacing &pacing = {});
Transfer upload(const QString &device, const Pacing &pacing = {});

// The reply trimmed of spaces only: line breaks stay.
QByteArray trimmed(const QByteArray &reply);
// Characters from the first marker to the end of the trimmed reply; -1 when it is absent.
qsizetype matchLength(const QByteArray &reply, const QByteArray &marker);
// The frequency text of record k (1..6), as the program cuts it out of the listing.
QByteArray listedFrequency(const QByteArray &listing, int channel);

} // namespace ProgramClient
