#include "cli/console.h"

namespace {

// Back to the start of the line, then erase to its end.
const QByteArray kClearLine = "\r\x1b[K";

} // namespace

Console::Console(QIODevice &out, QIODevice &err, bool showProgress) : out_(out), err_(err), showProgress_(showProgress)
{
}

void Console::print(const QByteArray &bytes)
{
    if (!muted_)
        out_.write(bytes);
}

void Console::printLine(const QString &line)
{
    print(line.toLocal8Bit() + '\n');
}

void Console::report(const QString &line)
{
    if (muted_)
        return;
    endProgress();
    err_.write(line.toLocal8Bit() + '\n');
}

void Console::progress(const QString &line)
{
    if (!showProgress_ || muted_)
        return;
    err_.write(kClearLine + line.toLocal8Bit());
    progressShown_ = true;
}

void Console::endProgress()
{
    if (progressShown_)
        err_.write(kClearLine);
    progressShown_ = false;
}
