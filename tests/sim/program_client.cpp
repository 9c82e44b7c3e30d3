#include "program_client.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace ProgramClient {

namespace {

using Clock = std::chrono::steady_clock;

struct Failure {
    Outcome outcome;
};

enum class Rule { Length, Position };

class Exchange {
public:
    Exchange(const QString &device, const Pacing &pacing, Transfer &transfer)
        : pacing_(pacing)
        , transfer_(transfer)
        , fd_(::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        if (fd_ < 0)
            throw Failure{Outcome::InvalidPort};
        discard();
    }
    ~Exchange() { ::close(fd_); }
    Exchange(const Exchange &) = delete;
    Exchange &operator=(const Exchange &) = delete;

    void send(const QByteArray &text)
    {
        for (const char byte : text) {
            if (::write(fd_, &byte, 1) != 1)
                throw Failure{errno == EIO ? Outcome::LineLost : Outcome::CommunicationError};
            std::this_thread::sleep_for(pacing_.pace);
        }
    }
    void sendIgnoringErrors(const QByteArray &text)
    {
        try {
            send(text);
        } catch (const Failure &) {
        }
    }
    void discard() { tcflush(fd_, TCIFLUSH); }

    // True when the marker came in time; a length rule fails at once on a reply without it.
    bool wait(const char *name, const QByteArray &marker, Rule rule, int threshold = 0,
              milliseconds limit = {})
    {
        const auto end = Clock::now() + (limit.count() > 0 ? limit : pacing_.limit);
        do {
            readAll();
            const QByteArray text = trimmed(reply);
            if (rule == Rule::Position && text.contains(marker))
                return true;
            if (rule == Rule::Length && !text.isEmpty()) {
                if (!text.contains(marker))
                    throw Failure{Outcome::CommunicationError};
                if (matchLength(text, marker) >= threshold)
                    return true;
            }
            pollfd readable{fd_, POLLIN, 0};
            poll(&readable, 1, 5);
        } while (Clock::now() < end);
        transfer_.timedOut << QString::fromLatin1(name);
        return false;
    }
    void waitOrTimeOut(const char *name, const QByteArray &marker, int threshold)
    {
        if (!wait(name, marker, Rule::Length, threshold))
            throw Failure{Outcome::Timeout};
    }

    QByteArray reply;

private:
    void readAll()
    {
        char buffer[512];
        for (;;) {
            const ssize_t count = ::read(fd_, buffer, sizeof buffer);
            if (count > 0) {
                reply.append(buffer, count);
                transfer_.transcript.append(buffer, count);
                continue;
            }
            if (count < 0 && errno == EAGAIN)
                return;
            throw Failure{Outcome::LineLost};
        }
    }

    Pacing pacing_;
    Transfer &transfer_;
    int fd_;
};

void callUpListing(Exchange &line)
{
    line.sendIgnoringErrors("\r");
    line.send("6");
    line.reply.clear();
    line.waitOrTimeOut("W1", "C", 150);
}

void typeChannels(Exchange &line, const Channels &channels)
{
    for (int k = 1; k <= 6; ++k) {
        line.waitOrTimeOut("W3", "Channel " + QByteArray::number(k), 52);
        line.discard();
        const QByteArray frequency = channels[k - 1].toLatin1();
        line.send(frequency.mid(1, 2));
        line.reply.clear();
        line.wait("W4", ".", Rule::Position);
        line.send(frequency.mid(4, 3));
    }
}

void runDownload(Exchange &line, const Channels &channels, const Pacing &pacing)
{
    callUpListing(line);
    line.wait("W2", "E", Rule::Length, 45);
    line.discard();
    line.send("Y");
    line.reply.clear();
    typeChannels(line, channels);
    line.wait("W5", "S or R", Rule::Position);
    line.discard();
    line.send("S");
    line.reply.clear();
    line.wait("W6", "The radio is now ready for use.", Rule::Position, 0, pacing.readyLimit);
    line.wait("W7", "menu.)", Rule::Position);
    line.send("\r");
}

void runUpload(Exchange &line, Transfer &transfer)
{
    callUpListing(line);
    const QByteArray text = trimmed(line.reply);
    transfer.listing = text.mid(text.indexOf('C'));
    line.send("N");
    line.wait("U2", "menu.)", Rule::Position);
    line.send("\r");
}

template<typename Run>
Transfer attempt(const QString &device, const Pacing &pacing, Run run)
{
    Transfer transfer;
    try {
        Exchange line(device, pacing, transfer);
        run(line, transfer);
    } catch (const Failure &failure) {
        transfer.outcome = failure.outcome;
    }
    return transfer;
}

} // namespace

Transfer download(const QString &device, const Channels &channels, const Pacing &pacing)
{
    return attempt(device, pacing,
                   [&](Exchange &line, Transfer &) { runDownload(line, channels, pacing); });
}

Transfer upload(const QString &device, const Pacing &pacing)
{
    return attempt(device, pacing, [](Exchange &line, Transfer &transfer) { runUpload(line, transfer); });
}

QByteArray trimmed(const QByteArray &reply)
{
    qsizetype first = 0;
    qsizetype last = reply.size();
    while (first < last && reply[first] == ' ')
        ++first;
    while (last > first && reply[last - 1] == ' ')
        --last;
    return reply.mid(first, last - first);
}

qsizetype matchLength(const QByteArray &reply, const QByteArray &marker)
{
    const QByteArray text = trimmed(reply);
    const qsizetype at = text.indexOf(marker);
    return at < 0 ? -1 : text.size() - at;
}

QByteArray listedFrequency(const QByteArray &listing, int channel)
{
    return listing.mid((channel - 1) * 26, 24).mid(13, 7);
}

} // namespace ProgramClient
