#pragma once

#include <QtCore/QObject>
#include <QtCore/QSocketNotifier>

#include <memory>

// SIGINT and SIGTERM delivered as a Qt signal in the event loop, through a pipe the handler
// writes to. Installed even when the signal was ignored on entry, as a background job's
// SIGINT is.
class StopSignals : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

    // False when the pipe or a handler could not be set up.
    bool install();

signals:
    void received(int signalNumber);

private:
    void readSignal();

    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};

// Whether standard error is a terminal, where a progress line can be rewritten in place.
bool standardErrorIsTerminal();
