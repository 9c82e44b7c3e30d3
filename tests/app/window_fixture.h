#pragma once

#include "app/channel_table.h"
#include "app/main_window.h"
#include "radio_simulator.h"

#include <QtCore/QDir>
#include <QtCore/QItemSelectionModel>
#include <QtCore/QTemporaryDir>
#include <QtGui/QAction>
#include <QtTest/QtTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QTreeWidget>

#include <map>
#include <memory>

using namespace std::chrono_literals;

// Generous: the suite also runs under sanitizers on two slow shared cores.
constexpr int kTimeout = 60000;

inline const QStringList kRows{"119.025", "120.050", "127.500", "131.975", "136.000", "118.100"};
inline const QByteArray kRowsDownload = "\r6Y190252005027500319753600018100S\r";

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

inline QAction *action(const MainWindow &window, const QString &name)
{
    return window.findChild<QAction *>(name);
}

// How many of the Download and Upload buttons and menu items are enabled.
inline int transferCommandsEnabled(const MainWindow &window)
{
    int enabled = 0;
    for (const char *name : {"upload", "download", "mupload", "mdownload"})
        enabled += action(window, QString::fromLatin1(name))->isEnabled() ? 1 : 0;
    return enabled;
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

// A window started in a fresh working folder of its own, where the radio simulator can be
// linked as COM1.
class WindowFixture {
public:
    WindowFixture() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~WindowFixture()
    {
        window_.reset(); // closes its line before the radio goes
        radio_.reset();
        QDir::setCurrent(previous_);
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    }

    // Leaves a settings file in the working folder before the window starts.
    void storeSettings(const QByteArray &bytes)
    {
        QFile file(path(QStringLiteral("Varlo")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    [[nodiscard]] QByteArray settingsBytes() const
    {
        QFile file(path(QStringLiteral("Varlo")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    [[nodiscard]] QString path(const QString &name) const { return dir_.filePath(name); }

    // Backups go to the test's own data folder, emptied when the fixture goes.
    MainWindow &start(Timing timing)
    {
        QStandardPaths::setTestModeEnabled(true);
        window_ = std::make_unique<MainWindow>(timing);
        window_->show();
        if (!QTest::qWaitForWindowExposed(window_.get()))
            qWarning("the window was not exposed");
        return *window_;
    }
    void destroyWindow() { window_.reset(); }

    // A radio as COM1 with a quick EEPROM write; one linked before goes away.
    [[nodiscard]] bool linkRadio(ScenarioChoice scenario = {}, std::chrono::milliseconds eepromDelay = 150ms)
    {
        radio_.reset();
        RadioSimulator::Options options;
        options.scenario = scenario;
        options.eepromDelay = eepromDelay;
        options.directory = dir_.path();
        radio_ = std::make_unique<RadioSimulator>(options);
        if (!radio_->start())
            return false;
        ownDescriptors_ = descriptorsOnTheRadio();
        return true;
    }
    [[nodiscard]] RadioSimulator &radio() const { return *radio_; }
    [[nodiscard]] QByteArray received() const
    {
        QByteArray bytes;
        for (const ReceivedByte &each : radio_->received())
            bytes += each.byte;
        return bytes;
    }
    // The window holds the radio's line open (the radio keeps a descriptor of its own until
    // the line drops).
    [[nodiscard]] bool portOpen() const
    {
        return descriptorsOnTheRadio() > (radio_->isRunning() ? ownDescriptors_ : 0);
    }

    [[nodiscard]] QMessageBox *messageBox() const
    {
        return window_ ? window_->findChild<QMessageBox *>(QStringLiteral("messageBox")) : nullptr;
    }
    // The message box once it is open, or nullptr when none comes.
    [[nodiscard]] QMessageBox *awaitMessageBox() const
    {
        const auto shown = [this] { return messageBox() && messageBox()->isVisible(); };
        return QTest::qWaitFor(shown, kTimeout) ? messageBox() : nullptr;
    }
    // Clicks OK and waits until the box has gone.
    [[nodiscard]] bool dismiss(QMessageBox *box) const
    {
        box->button(QMessageBox::Ok)->click();
        return QTest::qWaitFor([this] { return messageBox() == nullptr; }, kTimeout);
    }

private:
    [[nodiscard]] int descriptorsOnTheRadio() const
    {
        int count = 0;
        const QDir descriptors(QStringLiteral("/proc/self/fd"));
        for (const QFileInfo &entry : descriptors.entryInfoList(QDir::System | QDir::NoDotAndDotDot))
            count += entry.symLinkTarget() == radio_->slavePath() ? 1 : 0;
        return count;
    }

    QTemporaryDir dir_;
    QString previous_;
    std::unique_ptr<RadioSimulator> radio_;
    std::unique_ptr<MainWindow> window_;
    int ownDescriptors_ = 0;
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
