#pragma once

#include "core/lifetime.h"
#include "core/timing.h"

#include <QtCore/QObject>
#include <QtCore/QString>
#include <qcoro/qcorotask.h>

#include <functional>
#include <vector>

class NoticeLine;
class QLabel;
class QTimer;
class QWidget;
class TerminalPane;

// Timed notices: text notices in the notice line, the About panel and the notice that a
// close was refused, shown in the terminal pane. All of them end at the next tick of the
// notice timer, which they share.
class Notices : public QObject {
    Q_OBJECT
public:
    using Messenger = std::function<void(const QString &)>;

    // The About panel is made in parent; message shows a failure of the web link in a message box.
    Notices(QWidget *parent, const Timing &timing, NoticeLine &noticeLine, TerminalPane &terminal, Messenger message);

    [[nodiscard]] QWidget *aboutPanel() const { return aboutPanel_; }
    [[nodiscard]] bool aboutShown() const { return aboutShown_; }
    // When it ends, every notice still shown returns at once and leaves its widgets alone.
    [[nodiscard]] Lifetime &lifetime() { return lifetime_; }

    // Each shows its notice and returns when it is over.
    QCoro::Task<> showText(QString text);
    QCoro::Task<> showAbout();
    // A close was refused while a transfer runs or About is shown.
    QCoro::Task<> showAbort();
    // Ends every notice shown now; the window calls it as it unloads, while the widgets exist.
    void endNotice();
    void closeAbout();
    void openWebsite();

private:
    // Also returns when the lifetime ends.
    QCoro::Task<> untilNoticeTimerStops();
    void setNoticeInterval(std::chrono::milliseconds interval);
    void startNoticeTimer();
    void buildAboutPanel(QWidget *parent);
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The link opens on a release inside it whose press was on it.
    bool followLinkClick(QEvent *event);

    const Timing &timing_;
    TerminalPane &terminal_;
    NoticeLine &noticeLine_;
    Messenger message_;
    QTimer *timer_;
    QWidget *aboutPanel_ = nullptr;
    QLabel *webLink_ = nullptr;
    bool aboutShown_ = false;
    bool linkPressed_ = false;
    // The notices waiting for the next tick.
    std::vector<Wakeup *> waiting_;
    Lifetime lifetime_;
};

// The maker's web address, shown and opened by the About panel's link.
extern const char *const kWebAddress;
