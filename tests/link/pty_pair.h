#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QElapsedTimer>
#include <QtCore/QString>
#include <QtTest/QTest>

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

// A pseudo-terminal for the tests: the slave stands in for a serial device, the test plays
// the far end on the master. The test keeps its own slave descriptor, so the master stays
// usable while the port under test is closed.
class PtyPair {
public:
    PtyPair()
    {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            return;
        termios raw{};
        ::tcgetattr(slave_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave_, TCSANOW, &raw);
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        slavePath_ = QString::fromLocal8Bit(name);
    }
    ~PtyPair()
    {
        closeMaster();
        if (slave_ >= 0)
            ::close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    [[nodiscard]] bool isValid() const { return master_ >= 0 && !slavePath_.isEmpty(); }
    [[nodiscard]] QString slavePath() const { return slavePath_; }
    [[nodiscard]] int slave() const { return slave_; }

    bool send(const QByteArray& bytes)
    {
        return ::write(master_, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // What the far end has received within the time limit, at least `count` bytes if they come.
    QByteArray receive(qsizetype count, int limitMs = 2000)
    {
        QByteArray received;
        QElapsedTimer clock;
        clock.start();
        while (received.size() < count && clock.elapsed() < limitMs) {
            char chunk[256];
            const ssize_t got = ::read(master_, chunk, sizeof chunk);
            if (got > 0)
                received.append(chunk, got);
            else
                QTest::qWait(5);
        }
        return received;
    }

    void closeMaster()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};
