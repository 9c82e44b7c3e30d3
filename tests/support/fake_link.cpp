#include "tests/support/fake_link.h"

#include <QtCore/QMetaMethod>

std::optional<OpenFailure> FakeLink::open()
{
    if (openFailure)
        return openFailure;
    open_ = true;
    ++openCount;
    buffer_.clear();
    return std::nullopt;
}

bool FakeLink::discardInput()
{
    buffer_.clear();
    return open_ && !failDiscard;
}

bool FakeLink::writeChar(char byte)
{
    const int index = attempts_++;
    if (!open_ || (index >= failWritesFrom && index < failWritesUntil))
        return false;
    writtenBytes.append(byte);
    writtenTimes.append(time_.now());
    for (const auto &[after, reply] : std::as_const(repliesAfterWrite_)) {
        if (after == index)
            deliverAfter(reply.second, reply.first);
    }
    if (responder)
        responder(byte);
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
    closedAt.append(time_.now());
}

// Bytes reach a closed port nowhere, as on a real line.
void FakeLink::deliverAt(ms when, QByteArray text)
{
    schedule(when, [this, text] {
        if (!open_ || text.isEmpty())
            return;
        buffer_ += text;
        emit dataArrived();
    });
}

void FakeLink::replyAfterWrite(int index, QByteArray text, ms delay)
{
    repliesAfterWrite_.append({index, {std::move(text), delay}});
}

void FakeLink::loseLineAt(ms when)
{
    schedule(when, [this] {
        if (!std::exchange(open_, false))
            return;
        buffer_.clear();
        emit lineLost();
    });
}

bool FakeLink::hasListeners() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&SerialLink::dataArrived))
        || isSignalConnected(QMetaMethod::fromSignal(&SerialLink::lineLost));
}

void FakeLink::schedule(ms when, std::function<void()> action)
{
    alarms_.push_back(time_.alarmAt(when, std::move(action)));
}
