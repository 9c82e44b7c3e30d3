#include "radio_simulator.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <random>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

constexpr int pollForever = -1;

int millisecondsUntil(SimClock::time_point when)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(when - SimClock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

// Printable garbage that never holds the "C" the program looks for first.
QByteArray noise(int length)
{
    static std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<int> printable('!', '~');
    QByteArray burst;
    while (burst.size() < length) {
        const char byte = static_cast<char>(printable(random));
        if (byte != 'C')
            burst += byte;
    }
    return burst;
}

} // namespace

RadioSimulator::RadioSimulator(Options options)
    : options_(std::move(options)), menu_(options_.scenario, options_.eepromDelay, options_.channels)
{
}

RadioSimulator::~RadioSimulator()
{
    stop();
}

bool RadioSimulator::start()
{
    if (running_) {
        error_ = QStringLiteral("already started");
        return false;
    }
    stop(); // what a hang-up left behind
    error_ = line_.open();
    if (!error_.isEmpty())
        return false;
    if (!options_.directory.isEmpty() && !link()) {
        line_.close();
        return false;
    }
    if (!options_.logPath.isEmpty())
        log_.open(options_.logPath.toStdString(), std::ios::app);
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    startedAt_ = SimClock::now();
    running_ = true;
    thread_ = std::thread([this] { run(); });
    return true;
}

void RadioSimulator::stop()
{
    stopRequested_ = true;
    wake();
    if (thread_.joinable())
        thread_.join();
    line_.close();
    unlink();
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
    wakeFd_ = -1;
    log_.close();
    stopRequested_ = false;
}

void RadioSimulator::hangUp()
{
    hangUpRequested_ = true;
    wake();
    if (thread_.joinable())
        thread_.join();
    hangUpRequested_ = false;
}

void RadioSimulator::wake()
{
    if (wakeFd_ >= 0)
        eventfd_write(wakeFd_, 1);
}

void RadioSimulator::run()
{
    while (!stopRequested_ && line_.isOpen()) {
        const auto deadline = nextDeadline();
        pollfd watched[2] = {{line_.master(), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        poll(watched, 2, deadline ? millisecondsUntil(*deadline) : pollForever);
        if (hangUpRequested_ || (watched[0].revents & (POLLHUP | POLLERR))) {
            dropLine();
            break;
        }
        if (watched[0].revents & POLLIN)
            serveLine();
        if (line_.isOpen()) {
            std::lock_guard lock(mutex_);
            const auto now = SimClock::now();
            releaseHeld(now);
            say(menu_.due(now), now);
        }
    }
    running_ = false;
}

void RadioSimulator::serveLine()
{
    char bytes[256];
    const ssize_t count = read(line_.master(), bytes, sizeof bytes);
    const auto now = SimClock::now();
    if (count < 0 && errno != EAGAIN && errno != EINTR)
        dropLine();
    for (ssize_t i = 0; i < count && line_.isOpen(); ++i)
        answer(bytes[i], now);
}

void RadioSimulator::answer(char byte, SimClock::time_point now)
{
    std::lock_guard lock(mutex_);
    received_.push_back({now, byte});
    log(received_.back());
    const auto number = static_cast<int>(received_.size());
    const ScenarioChoice fault = options_.scenario;
    if (fault.scenario == Scenario::HangUp && fault.value == number) {
        dropLine();
        return;
    }
    if (fault.scenario == Scenario::LineNoise && fault.value == number) {
        write(noise(options_.noiseLength));
        heldUntil_ = now + options_.noiseHold;
    }
    say(menu_.receive(byte, now), now);
}

void RadioSimulator::say(const QByteArray &bytes, SimClock::time_point now)
{
    if (now < heldUntil_)
        held_ += bytes;
    else
        write(bytes);
}

void RadioSimulator::releaseHeld(SimClock::time_point now)
{
    if (now < heldUntil_ || held_.isEmpty())
        return;
    write(held_);
    held_.clear();
}

std::optional<SimClock::time_point> RadioSimulator::nextDeadline() const
{
    const auto menuDeadline = menu_.deadline();
    if (held_.isEmpty())
        return menuDeadline;
    return menuDeadline ? std::min(*menuDeadline, heldUntil_) : heldUntil_;
}

void RadioSimulator::log(const ReceivedByte &received)
{
    if (!log_.is_open())
        return;
    const auto since = std::chrono::duration_cast<std::chrono::nanoseconds>(received.time - startedAt_);
    char line[48];
    std::snprintf(line, sizeof line, "%lld %02x\n", static_cast<long long>(since.count()),
                  static_cast<unsigned char>(received.byte));
    log_ << line << std::flush;
}

// Gives up after about a second when nobody reads the slave: a radio does not wait either.
void RadioSimulator::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    for (int attempt = 0; done < bytes.size() && attempt < 10 && line_.isOpen(); ++attempt) {
        const ssize_t count = ::write(line_.master(), bytes.constData() + done, bytes.size() - done);
        if (count > 0) {
            sent_ += bytes.mid(done, count);
            done += count;
            continue;
        }
        pollfd writable{line_.master(), POLLOUT, 0};
        poll(&writable, 1, 100);
    }
}

void RadioSimulator::dropLine()
{
    line_.close();
}

bool RadioSimulator::link()
{
    linkPath_ = QDir(options_.directory).absoluteFilePath(QStringLiteral("COM%1").arg(options_.comNumber));
    const QFileInfo existing(linkPath_);
    if (existing.exists() || existing.isSymLink()) {
        if (!existing.isSymLink()) {
            error_ = linkPath_ + QStringLiteral(" exists and is not a link");
            return false;
        }
        QFile::remove(linkPath_);
    }
    if (symlink(slavePath().toLocal8Bit().constData(), linkPath_.toLocal8Bit().constData()) != 0) {
        error_ = linkPath_ + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

// Only our own link: another simulator may have taken the name since.
void RadioSimulator::unlink()
{
    char target[256] = {};
    const QByteArray path = linkPath_.toLocal8Bit();
    if (!path.isEmpty() && readlink(path.constData(), target, sizeof target - 1) > 0
        && QString::fromLocal8Bit(target) == slavePath())
        ::unlink(path.constData());
    linkPath_.clear();
}

std::vector<ReceivedByte> RadioSimulator::received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

QByteArray RadioSimulator::sent() const
{
    std::lock_guard lock(mutex_);
    return sent_;
}

Channels RadioSimulator::channels() const
{
    std::lock_guard lock(mutex_);
    return menu_.channels();
}
