#pragma once

#include <QtCore/QString>

// A pseudo-terminal whose slave looks like a serial port in raw mode. It holds a slave
// descriptor of its own, so the master stays quiet while nobody else has the slave open.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // Empty on success, else the system's reason.
    QString open();
    // Both ends go away: whoever has the slave open sees the line hang up.
    void close();

    [[nodiscard]] bool isOpen() const { return master_ >= 0; }
    [[nodiscard]] int master() const { return master_; }
    [[nodiscard]] QString slavePath() const { return slavePath_; }

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};
