#pragma once

// A window with the radio simulator linked as COM1 in its working directory, and what the
// transfer tests observe: the bytes the radio received and when, the window's hold on the
// line, the notice line's captions and the channel steps as the table highlights them.
#include "channels/channel_table.h"
#include "radio_simulator.h"
#include "window_fixture.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QItemSelectionModel>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtTest/QtTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QTreeWidget>

#include <chrono>
#include <functional>
#include <map>
#include <memory>

namespace transfer {

using namespace std::chrono_literals;

// Generous: the suite also runs under ASan on two slow shared cores.
constexpr int kTimeout = 60000;

inline const QString kDownloadCompleted = QStringLiteral("Download Completed. Power Radio OFF / ON.");
inline const QString kUploadCompleted = QStringLiteral("Upload Completed");
inline const QByteArray kUploadBytes = QByteArrayLiteral("\r6N\r");
inline const QStringList kRows{QStringLiteral("119.025"), QStringLiteral("120.050"),
                               QStringLiteral("127.500"), QStringLiteral("131.975"),
                               QStringLiteral("136.000"), QStringLiteral("118.100")};
inline const QStringList kDefaultRows(6, QStringLiteral("118.000"));

// Carriage return, "6", "Y", two then three digits of each row, "S", carriage return.
inline QByteArray downloadBytes(const QStringList &rows)
{
    QByteArray bytes = "\r6Y";
    for (const QString &row : rows)
        bytes += row.mid(1, 2).toLatin1() + row.mid(4, 3).toLatin1();
    return bytes + "S\r";
}

inline QStringList channelsOf(const RadioSimulator &radio)
{
    QStringList channels;
    for (const QString &channel : radio.channels())
        channels << channel;
    return channels;
}

inline QByteArray bytesOf(const std::vector<ReceivedByte> &received)
{
    QByteArray bytes;
    for (const ReceivedByte &each : received)
        bytes += each.byte;
    return bytes;
}

// The shortest pause between two bytes as the radio's own thread saw them arrive.
inline std::chrono::duration<double, std::milli> shortestGap(const std::vector<ReceivedByte> &received)
{
    std::chrono::duration<double, std::milli> shortest = 1h;
    for (size_t i = 1; i < received.size(); ++i)
        shortest = std::min<std::chrono::duration<double, std::milli>>(shortest, received[i].time - received[i - 1].time);
    return shortest;
}

// Descriptors of this process open on a device.
inline int descriptorsOpenOn(const QString &device)
{
    int count = 0;
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo &entry : descriptors.entryInfoList(QDir::System | QDir::NoDotAndDotDot))
        count += entry.symLinkTarget() == device ? 1 : 0;
    return count;
}

inline QStringList rowsOf(const MainWindow &window)
{
    QStringList rows;
    for (int row = 1; row <= 6; ++row)
        rows << window.table().frequencyOfRow(row);
    return rows;
}

inline void putRows(MainWindow &window, const QStringList &rows)
{
    for (int row = 1; row <= 6; ++row)
        window.table().putFrequency(row, rows[row - 1]);
}

inline QAction *action(const MainWindow &window, const char *name)
{
    return window.findChild<QAction *>(QString::fromLatin1(name));
}

// The Download and Upload commands: toolbar buttons and menu items.
inline bool transferCommandsEnabled(const MainWindow &window)
{
    for (const char *name : {"upload", "download", "mupload", "mdownload"})
        if (!action(window, name)->isEnabled())
            return false;
    return true;
}

inline bool transferCommandsLocked(const MainWindow &window)
{
    for (const char *name : {"upload", "download", "mupload", "mdownload"})
        if (action(window, name)->isEnabled())
            return false;
    return true;
}

// Each caption the notice line showed, in order; an empty entry while it was hidden.
class NoticeLineLog : public QObject {
public:
    explicit NoticeLineLog(QLabel *line) : line_(line)
    {
        connect(&sampler_, &QTimer::timeout, this, &NoticeLineLog::sample);
        sampler_.start(2);
        sample();
    }
    [[nodiscard]] const QStringList &captions() const { return captions_; }

private:
    void sample()
    {
        const QString now = line_->isVisible() ? line_->text() : QString();
        if (captions_.isEmpty() || captions_.last() != now)
            captions_.append(now);
    }
    QLabel *line_;
    QTimer sampler_;
    QStringList captions_;
};

// The channel steps of a download as the table highlights their rows. An action set for a
// channel runs from the event loop once its step has begun, as a user's click would.
class ChannelSteps : public QObject {
public:
    explicit ChannelSteps(MainWindow &window)
    {
        connect(window.table().list()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this](const QItemSelection &selected) {
                    for (const QModelIndex &index : selected.indexes())
                        if (index.column() == 0)
                            begun(index.row() + 1);
                });
    }
    void at(int channel, std::function<void()> action) { actions_[channel] = std::move(action); }
    [[nodiscard]] const QList<int> &highlighted() const { return highlighted_; }

private:
    void begun(int row)
    {
        highlighted_.append(row);
        const auto found = actions_.find(row);
        if (found == actions_.end())
            return;
        QTimer::singleShot(0, this, std::move(found->second));
        actions_.erase(found);
    }
    QList<int> highlighted_;
    std::map<int, std::function<void()>> actions_;
};

// Twenty times quicker, except the pause after each character and the radio's second, ten
// times: the radio's answer to a channel's last decimals must be in before that pause ends,
// and a reply limit of three seconds must outlast a stall of a busy machine.
inline Timing quickTiming()
{
    Timing timing = Timing{}.scaled(20);
    const Timing tenfold = Timing{}.scaled(10);
    timing.pace = tenfold.pace;
    timing.second = tenfold.second;
    timing.countdownTick = tenfold.countdownTick;
    return timing;
}

class TransferFixture {
public:
    // A quick EEPROM write, so scaled transfers take a few seconds at most.
    static RadioSimulator::Options radioOptions(ScenarioChoice scenario = {},
                                                std::chrono::milliseconds eepromDelay = 150ms)
    {
        RadioSimulator::Options options;
        options.scenario = scenario;
        options.eepromDelay = eepromDelay;
        return options;
    }

    // Links a radio as COM1 beside the window's settings; one linked before goes away.
    bool linkRadio(RadioSimulator::Options options = radioOptions())
    {
        radio_.reset();
        options.directory = base_.directory();
        options.comNumber = 1;
        radio_ = std::make_unique<RadioSimulator>(std::move(options));
        if (!radio_->start())
            return false;
        ownDescriptors_ = descriptorsOpenOn(radio_->slavePath());
        return true;
    }

    MainWindow &start(Timing timing = quickTiming())
    {
        window_ = &base_.start(timing);
        window_->table().typeList()->setCurrentIndex(1);
        if (!QTest::qWaitForWindowExposed(window_))
            qWarning("the window was not exposed");
        return *window_;
    }

    [[nodiscard]] RadioSimulator &radio() const { return *radio_; }
    [[nodiscard]] QByteArray received() const { return bytesOf(radio_->received()); }
    [[nodiscard]] QString path(const QString &name) const { return base_.path(name); }
    [[nodiscard]] QMessageBox *messageBox() const { return base_.messageBox(); }

    // The window holds the radio's line open (the radio keeps one descriptor of its own until
    // the line drops).
    [[nodiscard]] bool portOpen() const
    {
        const int own = radio_->isRunning() ? ownDescriptors_ : 0;
        return descriptorsOpenOn(radio_->slavePath()) > own;
    }

    // What the radio heard and said, for a failure's message.
    [[nodiscard]] QByteArray exchanged() const
    {
        return "received " + received().toPercentEncoding() + ", answered " + radio_->sent().toPercentEncoding();
    }

    // The failure message box once it is open, or nullptr when none comes.
    [[nodiscard]] QMessageBox *awaitMessageBox() const
    {
        const bool shown =
            QTest::qWaitFor([this] { return messageBox() != nullptr && messageBox()->isVisible(); }, kTimeout);
        return shown ? messageBox() : nullptr;
    }

    // Clicks OK and waits until the box has gone.
    bool dismiss(QMessageBox *box) const
    {
        box->button(QMessageBox::Ok)->click();
        return QTest::qWaitFor([this] { return messageBox() == nullptr; }, kTimeout);
    }

private:
    std::unique_ptr<RadioSimulator> radio_; // outlives the window, which closes its line first
    WindowFixture base_;
    MainWindow *window_ = nullptr;
    int ownDescriptors_ = 0;
};

} // namespace transfer
