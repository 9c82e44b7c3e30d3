#pragma once

#include "cli/console.h"

#include <QtCore/QFile>
#include <QtCore/QLoggingCategory>
#include <QtCore/QString>

// While it lives, warnings and errors of every logging category go to standard error through
// the console, and, once a trace file is set, the serial line's debug lines go to that file,
// one message per line exactly as formatted. One at a time in a process.
class LogRouting {
public:
    explicit LogRouting(Console &console);
    ~LogRouting();
    LogRouting(const LogRouting &) = delete;
    LogRouting &operator=(const LogRouting &) = delete;

    // Turns the serial trace on, whatever QT_LOGGING_RULES says; false when the file cannot be made.
    bool traceTo(const QString &path);

private:
    static void filterCategory(QLoggingCategory *category);
    static void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message);

    Console &console_;
    QFile trace_;
    QtMessageHandler previousHandler_;
    QLoggingCategory::CategoryFilter previousFilter_ = nullptr;
};
