#include "cli/cli_view.h"

namespace {

constexpr TimeSource::ms kSecond{1000};

} // namespace

CliView::CliView(Console &console, TimeSource &time, int port, TransceiverType type)
    : console_(console), time_(time), port_(port), type_(type), rows_(kTableRows)
{
}

void CliView::setRows(const QStringList &frequencies)
{
    rows_ = QStringList(kTableRows);
    for (qsizetype i = 0; i < frequencies.size() && i < kTableRows; ++i)
        rows_[i] = frequencies[i];
}

QStringList CliView::rowsRead() const
{
    return rows_.first(channelCountFor(type_));
}

// Each transfer reports only its own failure and lines.
void CliView::transferStarted()
{
    notes_.clear();
    failure_.reset();
    console_.progress(portName() + QStringLiteral(": reading the channels"));
}

void CliView::channelReached(int channel)
{
    console_.progress(QStringLiteral("%1: writing channel %2 of %3").arg(portName()).arg(channel).arg(kTableRows));
}

void CliView::countdownBegan(int seconds)
{
    countdownEnd_ = time_.now() + seconds * kSecond;
    showCountdown();
}

void CliView::showCountdown()
{
    const auto left = (countdownEnd_ - time_.now() + kSecond - TimeSource::ms(1)) / kSecond;
    if (!console_.showsProgress() || left <= 0) {
        countdownTick_.reset();
        return;
    }
    console_.progress(QStringLiteral("%1: radio storing the channels, %2 s left").arg(portName()).arg(left));
    countdownTick_ = time_.alarmAt(countdownEnd_ - (left - 1) * kSecond, [this] { showCountdown(); });
}

QCoro::Task<> CliView::showFailure(TransferFailure failure, OpenFailure portProblem)
{
    failure_ = Failure{failure, std::move(portProblem)};
    co_return;
}
