#include "app/notices.h"

#include "app/fonts.h"
#include "app/notice_line.h"
#include "app/resources/images.h"
#include "app/terminal_pane.h"
#include "core/time_source.h"

#include <QtCore/QEvent>
#include <QtCore/QTimer>
#include <QtCore/QUrl>
#include <QtGui/QDesktopServices>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QLabel>
#include <QtWidgets/QWidget>

const char *const kWebAddress = "https://varlo-radio.example";

namespace {

const QString kAbortText = QStringLiteral("Connection is active!\r\nCould not close the application.");

QPixmap faded(const QPixmap &picture)
{
    QPixmap result(picture.size());
    result.setDevicePixelRatio(picture.devicePixelRatio());
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setOpacity(0.25);
    painter.drawPixmap(0, 0, picture);
    return result;
}

QString aboutText()
{
    return QStringLiteral("Varlo version " VARLO_VERSION "\nprograms the channels of the Varlo VHF airband "
                          "transceiver over its serial line.");
}

} // namespace

Notices::Notices(QWidget *parent, const Timing &timing, NoticeLine &noticeLine, TerminalPane &terminal,
                 Messenger message)
    : QObject(parent), timing_(timing), terminal_(terminal), noticeLine_(noticeLine), message_(std::move(message)),
      timer_(new QTimer(this))
{
    timer_->setObjectName(QStringLiteral("Timer2"));
    // A coarse timer may end a four-second notice 200 ms early.
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setInterval(timing.noticeShort);
    connect(timer_, &QTimer::timeout, this, &Notices::endNotice);
    buildAboutPanel(parent);
}

void Notices::endNotice()
{
    timer_->stop();
    // Notices started by those resuming now wait for a later tick.
    for (Wakeup *waiting : std::exchange(waiting_, {}))
        waiting->fire();
}

void Notices::closeAbout()
{
    setNoticeInterval(timing_.noticeShort);
    aboutPanel_->hide();
}

void Notices::openWebsite()
{
    if (!QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebAddress))))
        message_(QStringLiteral("Unable to shell web browser. "));
}

QCoro::Task<> Notices::showText(QString text)
{
    noticeLine_.showNotice(text);
    setNoticeInterval(timing_.noticeLong);
    startNoticeTimer();
    co_await untilNoticeTimerStops();
    if (lifetime_.ended())
        co_return;
    noticeLine_.endNotice();
}

QCoro::Task<> Notices::showAbout()
{
    aboutShown_ = true;
    aboutPanel_->show();
    aboutPanel_->raise();
    setNoticeInterval(timing_.noticeLong);
    startNoticeTimer();
    co_await untilNoticeTimerStops();
    if (lifetime_.ended())
        co_return;
    timer_->setInterval(timing_.noticeShort);
    aboutPanel_->hide();
    aboutShown_ = false;
}

QCoro::Task<> Notices::showAbort()
{
    terminal_.hold(kAbortText, varloFont(QStringLiteral("MS SansSerif"), 8, true));
    startNoticeTimer();
    co_await untilNoticeTimerStops();
    if (lifetime_.ended())
        co_return;
    terminal_.release(varloFont(QStringLiteral("Small Fonts"), 7));
}

QCoro::Task<> Notices::untilNoticeTimerStops()
{
    if (!timer_->isActive())
        co_return;
    Wakeup tick;
    const Lifetime::Watch watch(lifetime_, tick);
    waiting_.push_back(&tick);
    co_await tick;
    std::erase(waiting_, &tick);
}

void Notices::setNoticeInterval(std::chrono::milliseconds interval)
{
    // Setting the interval starts a running period anew, as the notices rely on.
    timer_->setInterval(interval);
    if (timer_->isActive())
        timer_->start();
}

void Notices::startNoticeTimer()
{
    // A notice started while another is shown ends at the same tick.
    if (!timer_->isActive())
        timer_->start();
}

void Notices::buildAboutPanel(QWidget *parent)
{
    aboutPanel_ = new QWidget(parent);
    aboutPanel_->setObjectName(QStringLiteral("Picture1"));
    aboutPanel_->setAutoFillBackground(true);
    QPalette white = aboutPanel_->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    aboutPanel_->setPalette(white);
    aboutPanel_->setGeometry(40, 40, 180, 130);
    aboutPanel_->installEventFilter(this);
    aboutPanel_->hide();

    // The logo stays faint behind the texts, which must be readable over it.
    auto *logo = new QLabel(aboutPanel_);
    logo->setPixmap(faded(logoPixmap(102)));
    logo->setAlignment(Qt::AlignCenter);
    logo->setGeometry(aboutPanel_->rect());
    logo->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *title = new QLabel(QStringLiteral("Varlo"), aboutPanel_);
    title->setObjectName(QStringLiteral("Label11"));
    title->setFont(varloFont(QStringLiteral("Arial"), 9, true));
    title->setGeometry(6, 4, 60, 16);
    title->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *description = new QLabel(aboutText(), aboutPanel_);
    description->setObjectName(QStringLiteral("Text11"));
    description->setWordWrap(true);
    description->setFont(varloFont(QStringLiteral("Small Fonts"), 6.75));
    description->setGeometry(6, 22, 168, 70);
    description->setAttribute(Qt::WA_TransparentForMouseEvents);

    webLink_ = new QLabel(QString::fromLatin1(kWebAddress), aboutPanel_);
    webLink_->setObjectName(QStringLiteral("Label21"));
    webLink_->setFont(varloFont(QStringLiteral("Arial"), 8.25, true));
    webLink_->setWordWrap(true);
    webLink_->setGeometry(6, 100, 168, 24);
    webLink_->setCursor(QCursor(logoPixmap(32)));
    webLink_->installEventFilter(this);
}

bool Notices::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == webLink_)
        return followLinkClick(event);
    const bool click = event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonDblClick;
    if (click && watched == aboutPanel_)
        closeAbout();
    return QObject::eventFilter(watched, event);
}

bool Notices::followLinkClick(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        linkPressed_ = true;
        return false;
    case QEvent::MouseButtonDblClick:
        // The release that ends a double-click is not a click of its own.
        linkPressed_ = false;
        return true;
    case QEvent::MouseButtonRelease: {
        const auto *release = static_cast<QMouseEvent *>(event);
        const bool inside = webLink_->rect().contains(release->position().toPoint());
        if (std::exchange(linkPressed_, false) && inside)
            openWebsite();
        return true;
    }
    default:
        return false;
    }
}
