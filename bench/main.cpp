// Times a real download and upload of the program against the radio simulator: total time
// against what the radio's pacing allows, CPU use, the pacing seen at the radio, and how long
// the window ever went without running its event loop.

#include "bench_run.h"
#include "simulator_process.h"
#include "tool_run.h"

#include "app/main_window.h"
#include "app/resources/images.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>

#include <cstdio>

namespace {

constexpr std::chrono::milliseconds kEepromDelay{3000};

// Plausible airband channels, apart from what the simulated radio starts with, so the upload
// proves the download.
const QStringList kRadioChannels{"118.600", "121.500", "122.475", "123.450", "129.975", "134.125"};
const QStringList kTableChannels{"119.100", "120.950", "124.375", "126.700", "131.025", "135.850"};
// What the command-line tool then writes, apart from both, so its verify and read prove its write.
const QStringList kToolChannels{"127.500", "118.275", "133.650", "120.025", "125.925", "137.000"};

// The headless platform says this at every change of the window's size hints: noise in a report.
QtMessageHandler passOn = nullptr;

void dropHeadlessNoise(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.contains(QLatin1String("does not support propagateSizeHints")))
        passOn(type, context, message);
}

QCoro::Task<> runAndQuit(BenchRun &run, ToolBench &tool)
{
    QCoreApplication::exit(co_await run.run(tool));
}

} // namespace

int main(int argc, char *argv[])
{
    passOn = qInstallMessageHandler(dropHeadlessNoise);
    QApplication application(argc, argv);
    initVarloResources();
    QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path())) {
        std::fprintf(stderr, "varlo-bench: no temporary folder\n");
        return 2;
    }
    // The backups of the window's download go with the folder, not into the user's data.
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder.path()));
    SimulatorProcess simulator({QCoreApplication::applicationDirPath() + QStringLiteral("/varlo-sim"), folder.path(), 1,
                                kEepromDelay, kRadioChannels});
    if (const auto problem = simulator.start()) {
        std::fprintf(stderr, "varlo-bench: %s\n", qPrintable(*problem));
        return 2;
    }
    std::printf("varlo-bench: a download and an upload, then varlo-cli's write --verify and read, at real timing\n"
                "against varlo-sim on COM1 in %s\n\n",
                qPrintable(folder.path()));
    std::fflush(stdout);

    MainWindow window;
    window.show();
    BenchRun run(window, simulator, kEepromDelay, kTableChannels);
    ToolBench tool(QCoreApplication::applicationDirPath() + QStringLiteral("/varlo-cli"), folder.path(), simulator,
                   kEepromDelay, kToolChannels);
    QTimer::singleShot(0, [&run, &tool] { runAndQuit(run, tool); });
    const int status = application.exec();
    simulator.stop();
    return status;
}
