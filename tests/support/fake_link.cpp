#include "tests/support/fake_link.h"

#include <QtCore/QMetaMethod>

FakeLink::FakeLink(VirtualTimeSource &time) : time_(time) {}

bool FakeLink::setPortNumber(int number)
{
    if (refusePortNumbers_ || open_)
        return false;
    portNumber_ = number;
    return true;
}

std::optional<OpenFailure> FakeLink::open()
{
    if (openFailure_)
        return openFailure_;
    open_ = true;
    ++openCount_;
    buffer_.clear();
    return std::nullopt;
}

bool FakeLink::discardInput()
{
    if (failDiscard_ || !open_)
        return false;
    buffer_.clear();
    discardedAt_.append(time_.now());
    return true;
}

bool FakeLink::writeChar(char byte)
{
    const int index = attempts_++;
    const auto [from, count] = failedWrites_;
    if (!open_ || (index >= from && index - from < count))
        return false;
    written_.append({byte, time_.now()});
    for (const auto &[after, reply] : std::as_const(repliesAfterWrite_)) {
        if (after == index)
            deliverAfter(reply.second, reply.first);
    }
    if (responder_)
        responder_(index, byte);
    return true;
}

std::optional<QString> FakeLink::readAll()
{
    if (!open_)
        return std::nullopt;
    return QString::fromLatin1(std::exchange(buffer_, {}));
}

void FakeLink::close()
{
    open_ = false;
    closedAt_.append(time_.now());
}

void FakeLink::deliverAt(ms when, QByteArray text)
{
    schedule(when, [this, text] { arrive(text); });
}

void FakeLink::deliverAfter(ms delay, QByteArray text)
{
    deliverAt(time_.now() + delay, std::move(text));
}

void FakeLink::replyAfterWrite(int index, QByteArray text, ms delay)
{
    repliesAfterWrite_.append({index, {std::move(text), delay}});
}

void FakeLink::loseLineAt(ms when)
{
    schedule(when, [this] { loseLine(); });
}

QByteArray FakeLink::writtenBytes() const
{
    QByteArray bytes;
    for (const Written &w : written_)
        bytes.append(w.byte);
    return bytes;
}

QList<FakeLink::ms> FakeLink::writtenTimes() const
{
    QList<ms> times;
    for (const Written &w : written_)
        times.append(w.at);
    return times;
}

bool FakeLink::hasListeners() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&SerialLink::dataArrived)) ||
           isSignalConnected(QMetaMethod::fromSignal(&SerialLink::lineLost));
}

void FakeLink::schedule(ms when, std::function<void()> action)
{
    alarms_.push_back(time_.alarmAt(when, std::move(action)));
}

// Bytes reach a closed port nowhere, as on a real line.
void FakeLink::arrive(const QByteArray &text)
{
    if (!open_ || text.isEmpty())
        return;
    buffer_ += text;
    emit dataArrived();
}

void FakeLink::loseLine()
{
    if (!open_)
        return;
    open_ = false;
    buffer_.clear();
    emit lineLost();
}
