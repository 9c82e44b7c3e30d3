#include "cli/log_routing.h"

#include <QtCore/QByteArrayView>

namespace {

constexpr QByteArrayView kSerialCategory = "varlo.serial";

LogRouting *active = nullptr;

} // namespace

LogRouting::LogRouting(Console &console) : console_(console)
{
    active = this;
    previousHandler_ = qInstallMessageHandler(&LogRouting::handleMessage);
}

LogRouting::~LogRouting()
{
    qInstallMessageHandler(previousHandler_);
    if (previousFilter_)
        QLoggingCategory::installFilter(previousFilter_);
    active = nullptr;
}

bool LogRouting::traceTo(const QString &path)
{
    trace_.setFileName(path);
    if (!trace_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return false;
    // A filter, unlike rules, wins over QT_LOGGING_RULES.
    previousFilter_ = QLoggingCategory::installFilter(&LogRouting::filterCategory);
    return true;
}

void LogRouting::filterCategory(QLoggingCategory *category)
{
    // Null while the filter is being installed: the categories then keep the state they have.
    if (active->previousFilter_)
        active->previousFilter_(category);
    if (QByteArrayView(category->categoryName()) == kSerialCategory)
        category->setEnabled(QtDebugMsg, true);
}

void LogRouting::handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg && context.category && QByteArrayView(context.category) == kSerialCategory) {
        if (active->trace_.isOpen())
            active->trace_.write(message.toUtf8() + '\n');
        return;
    }
    // Progress and chatter stay off the screen; warnings and errors are for the user.
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    active->console_.report(qFormatLogMessage(type, context, message));
}
