#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>

#include <functional>

class QDropEvent;
class QWidget;
class TerminalPane;

// A channel file dropped onto the window opens as File > Open would open it. A drop during a
// transfer is refused, and the terminal pane says why.
class FileDrop : public QObject {
    Q_OBJECT
public:
    FileDrop(QWidget *window, TerminalPane &terminal, std::function<bool()> transferRunning);

signals:
    void openRequested(const QString &path);

private:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void drop(QDropEvent *event, const QString &path);

    TerminalPane &terminal_;
    std::function<bool()> transferRunning_;
};
