#include "app/notices.h"

#include "core/fonts.h"
#include "app/resources/images.h"
#include "app/terminal_pane.h"
#include "core/time_source.h"

#include <QtCore/QEvent>
#include <QtCore/QTimer>
#include <QtCore/QUrl>
#include <QtGui/QDesktopServices>
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
    return QStringLiteral("Varlo version 1.31\nprograms the channels of the Varlo VHF airband "
                          "transceiver over its serial line.");
}

} // namespace

Notices::Notices(QWidget *window, const Timing &timing, TerminalPane &terminal, Messenger message)
    : QObject(window), timing_(timing), terminal_(terminal), message_(std::move(message)),
      Label3(new QLabel(QStringLiteral("Wrong Frequency!"), window)), Timer2(new QTimer(this))
{
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(VarloFont(QStringLiteral("Arial"), 11.25, true));
    Label3->setForegroundRole(QPalette::WindowText);
    Label3->hide();
    Timer2->setObjectName(QStringLiteral("Timer2"));
    // A coarse timer may end a four-second notice 200 ms early.
    Timer2->setTimerType(Qt::PreciseTimer);
    Timer2->setInterval(timing.noticeShort);
    connect(Timer2, &QTimer::timeout, this, &Notices::Timer2_Timer);
    buildAboutPanel(window);
}

QCoro::Task<> Notices::ShowNotice(QString kind)
{
    if (kind == QLatin1String("about"))
        co_await showAbout();
    else if (kind == QLatin1String("abort"))
        co_await showAbort();
    else
        co_await showText(kind);
}

void Notices::Timer2_Timer()
{
    Timer2->stop();
    // Notices started by those resuming now wait for a later tick.
    for (Wakeup *waiting : std::exchange(waiting_, {}))
        waiting->fire();
}

void Notices::Picture1_Click()
{
    setTimer2Interval(timing_.noticeShort);
    Picture1->hide();
}

void Notices::Label21_Click()
{
    if (!QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebAddress))))
        message_(QStringLiteral("Unable to shell web browser. "));
}

void Notices::endAll()
{
    Timer2_Timer();
}

QCoro::Task<> Notices::showText(QString text)
{
    Label3->setText(text);
    const QPalette remembered = Label3->palette();
    QPalette menuText = remembered;
    menuText.setColor(QPalette::WindowText, Label3->palette().color(QPalette::ButtonText));
    Label3->setPalette(menuText);
    Label3->show();
    setTimer2Interval(timing_.noticeLong);
    startTimer2();
    co_await untilTimer2Stops();
    Label3->clear();
    Label3->hide();
    Label3->setPalette(remembered);
}

QCoro::Task<> Notices::showAbout()
{
    aboutShown_ = true;
    emit aboutShownChanged(true);
    Picture1->show();
    Picture1->raise();
    setTimer2Interval(timing_.noticeLong);
    startTimer2();
    co_await untilTimer2Stops();
    Timer2->setInterval(timing_.noticeShort);
    Picture1->hide();
    aboutShown_ = false;
    emit aboutShownChanged(false);
}

QCoro::Task<> Notices::showAbort()
{
    terminal_.hold(kAbortText, VarloFont(QStringLiteral("MS SansSerif"), 8, true));
    startTimer2();
    co_await untilTimer2Stops();
    terminal_.release(VarloFont(QStringLiteral("Small Fonts"), 7));
}

QCoro::Task<> Notices::untilTimer2Stops()
{
    if (!Timer2->isActive())
        co_return;
    Wakeup tick;
    waiting_.push_back(&tick);
    co_await tick;
}

void Notices::setTimer2Interval(std::chrono::milliseconds interval)
{
    // Setting the interval starts a running period anew, as the notices rely on.
    Timer2->setInterval(interval);
    if (Timer2->isActive())
        Timer2->start();
}

void Notices::startTimer2()
{
    // A notice started while another is shown ends at the same tick.
    if (!Timer2->isActive())
        Timer2->start();
}

void Notices::buildAboutPanel(QWidget *window)
{
    Picture1 = new QWidget(window);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAutoFillBackground(true);
    QPalette white = Picture1->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    Picture1->setPalette(white);
    Picture1->setGeometry(40, 40, 180, 130);
    Picture1->installEventFilter(this);
    Picture1->hide();

    // The logo stays faint behind the texts, which must be readable over it.
    auto *logo = new QLabel(Picture1);
    logo->setPixmap(faded(LogoPixmap(102)));
    logo->setAlignment(Qt::AlignCenter);
    logo->setGeometry(Picture1->rect());
    logo->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *label11 = new QLabel(QStringLiteral("Varlo"), Picture1);
    label11->setObjectName(QStringLiteral("Label11"));
    label11->setFont(VarloFont(QStringLiteral("Arial"), 9, true));
    label11->setGeometry(6, 4, 60, 16);
    label11->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *text11 = new QLabel(aboutText(), Picture1);
    text11->setObjectName(QStringLiteral("Text11"));
    text11->setWordWrap(true);
    text11->setFont(VarloFont(QStringLiteral("Small Fonts"), 6.75));
    text11->setGeometry(6, 22, 168, 70);
    text11->setAttribute(Qt::WA_TransparentForMouseEvents);

    Label21 = new QLabel(QString::fromLatin1(kWebAddress), Picture1);
    Label21->setObjectName(QStringLiteral("Label21"));
    Label21->setFont(VarloFont(QStringLiteral("Arial"), 8.25, true));
    Label21->setWordWrap(true);
    Label21->setGeometry(6, 100, 168, 24);
    Label21->setCursor(QCursor(LogoPixmap(32)));
    Label21->installEventFilter(this);
}

bool Notices::eventFilter(QObject *watched, QEvent *event)
{
    const bool click = event->type() == QEvent::MouseButtonRelease
        || event->type() == QEvent::MouseButtonDblClick;
    if (click && watched == Label21) {
        Label21_Click();
        return true;
    }
    if (click && watched == Picture1)
        Picture1_Click();
    return QObject::eventFilter(watched, event);
}
