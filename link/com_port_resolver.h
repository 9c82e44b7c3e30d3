#pragma once

#include <QtCore/QList>
#include <QtCore/QString>

#include <functional>
#include <optional>

// One serial port as the system lists it.
struct SystemPort {
    QString name; // "ttyUSB0", "COM3"
    QString device; // "/dev/ttyUSB0", "COM3": what the port is opened by
};

using PortLister = std::function<QList<SystemPort>()>;

// The serial ports the system reports now.
QList<SystemPort> availableSystemPorts();

// Turns COM n into a device at the moment of opening. An entry COMn in the current
// directory (a symlink or a device node) wins, so a user or a test can point any number at
// any device. Otherwise COM n is the n-th system port, USB adapters first, so a first run on
// port 1 with one USB cable plugged in just works.
class ComPortResolver {
public:
    explicit ComPortResolver(PortLister lister = availableSystemPorts);

    // The device COM n stands for; empty when there is none.
    [[nodiscard]] std::optional<QString> resolve(int number) const;
    // For a tooltip: the device, or that none is present.
    [[nodiscard]] QString describe(int number) const;

    // USB adapters (ttyUSB*, then ttyACM*) first, then the others; numbers in numeric order.
    static void sortByPreference(QList<SystemPort> &ports);

private:
    PortLister lister_;
};
