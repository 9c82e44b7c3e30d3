// A whole download or upload against a radio whose every answer comes from the fuzz input.
// Input: a flags byte (bit 0 upload, bit 1 one-channel radio, bit 2 the line is lost at the
// time given by the next byte x 200 ms), then records of
// [after which write][delay x 20 ms][length][text].
#include "channels/frequency.h"
#include "core/timing.h"
#include "link/exchange.h"
#include "tests/support/fake_link.h"
#include "tests/support/recording_view.h"

#include <cstddef>
#include <cstdint>

namespace {

using ms = std::chrono::milliseconds;

const QStringList kRows{"118.025", "121.500", "122.475", "123.450", "129.975", "136.975"};
constexpr int kMaxSteps = 1'000'000;

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

class Input {
public:
    Input(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    [[nodiscard]] bool atEnd() const { return at_ >= size_; }
    uint8_t byte() { return atEnd() ? 0 : data_[at_++]; }
    QByteArray bytes(size_t count)
    {
        count = std::min(count, size_ - at_);
        QByteArray text(reinterpret_cast<const char *>(data_ + at_), qsizetype(count));
        at_ += count;
        return text;
    }

private:
    const uint8_t *data_;
    size_t size_;
    size_t at_ = 0;
};

void scriptRadio(Input &input, FakeLink &link)
{
    while (!input.atEnd()) {
        const int afterWrite = input.byte() % 40;
        const ms delay = ms(20 * input.byte());
        const QByteArray text = input.bytes(input.byte());
        link.replyAfterWrite(afterWrite, text, delay);
    }
}

QByteArray expectedBytes(bool upload, TransceiverType type)
{
    if (upload)
        return "\r6N\r";
    return type == TransceiverType::OneChannel ? "\r6Y180251802518025180251802518025S\r"
                                               : "\r6Y180252150022475234502997536975S\r";
}

void checkWrites(const FakeLink &link, const QByteArray &expected, ms pace)
{
    require(expected.startsWith(link.writtenBytes));
    const QList<ms> &times = link.writtenTimes;
    for (qsizetype i = 1; i < times.size(); ++i)
        require(times[i] - times[i - 1] >= pace);
}

void checkEnd(const FakeLink &link, const RecordingView &view, bool upload)
{
    require(!link.isOpen());
    require(!view.running);
    require(view.failures.size() + view.notices.size() == 1);
    if (!view.failures.isEmpty())
        require(view.failures.first().kind != TransferFailure::InvalidPort);
    if (upload) {
        for (const QString &row : view.rows)
            require(validFrequency(row));
    } else {
        require(view.rows == kRows);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Input input(data, size);
    const uint8_t flags = input.byte();
    const bool upload = flags & 1;
    VirtualTimeSource time;
    FakeLink link(time);
    RecordingView view(time, link);
    view.rows = kRows;
    view.type = flags & 2 ? TransceiverType::OneChannel : TransceiverType::SixChannels;
    if (flags & 4)
        link.loseLineAt(ms(200 * input.byte()));
    scriptRadio(input, link);

    const Timing timing;
    RadioExchange exchange(link, view, time, timing);
    QCoro::Task<> transfer = upload ? exchange.uploadFromRadio() : exchange.downloadToRadio();
    for (int step = 0; !transfer.isReady(); ++step)
        require(step < kMaxSteps && time.runNext());

    checkWrites(link, expectedBytes(upload, view.type), timing.pace);
    checkEnd(link, view, upload);
    return 0;
}
