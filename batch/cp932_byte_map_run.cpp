#include "cp932_byte_map_run.h"

#include "batch_texts.h"

#include "text/codec/text_positions.h"

#include <future>
#include <system_error>
#include <type_traits>

namespace orvane::batch {

namespace {

// Blocks this long are converted in two halves at once, one on a second thread. A half of 128 KiB
// takes the byte map about a tenth of a millisecond (1 to 2 GB/s), a few times what starting the
// thread costs; in shorter blocks the second thread would save little or nothing.
constexpr qsizetype halvesFrom = qsizetype(256) << 10;

// Starts f on another thread; false when no thread is to be had.
template <typename F> bool startThread(std::future<std::invoke_result_t<F>> &future, F f)
{
    try {
        future = std::async(std::launch::async, std::move(f));
        return true;
    } catch (const std::system_error &) {
        return false;
    }
}

} // namespace

StreamOutcome runCp932ByteMap(const codec::Cp932ByteMap &map, BlockReader &reader, ByteSink &sink)
{
    // Two sets of output halves: one being written out while the next block converts into the other.
    QByteArray out[2][2];
    int set = 0;
    std::future<void> writing;
    codec::Position read;
    for (;;) {
        const QByteArrayView bytes = reader.bytes();
        const bool last = reader.atEnd();
        const qsizetype cut = last ? bytes.size() : map.wholeCharacters(bytes);
        // Each half ends where the next block may start, so the halves convert independently.
        const qsizetype half = cut >= halvesFrom ? map.wholeCharacters(bytes.first(cut / 2)) : 0;
        const qsizetype starts[2] = {0, half};
        const qsizetype ends[2] = {half, cut};
        QByteArray *halves = out[set];
        for (int k = 0; k < 2; ++k) {
            const qsizetype room = codec::Cp932ByteMap::outputRoom(ends[k] - starts[k]);
            if (halves[k].size() < room)
                halves[k].resize(room);
        }
        const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
        auto convertHalf = [&map, data, &starts, &ends, halves](int k) {
            return map.convert(data + starts[k], ends[k] - starts[k],
                               reinterpret_cast<unsigned char *>(halves[k].data()));
        };
        codec::Cp932ByteMap::Run runs[2] = {{0, 0}, {0, 0}};
        std::future<codec::Cp932ByteMap::Run> second;
        const bool parallel = half > 0 && startThread(second, [&convertHalf] { return convertHalf(1); });
        if (half > 0)
            runs[0] = convertHalf(0);
        runs[1] = parallel ? second.get() : convertHalf(1);
        // Up to the first invalid code, if any.
        qsizetype written[2] = {runs[0].written, runs[1].written};
        bool invalid = false;
        for (int k = 0; k < 2; ++k) {
            if (invalid) {
                written[k] = 0;
                continue;
            }
            codec::advanceCp932(read, data + starts[k], runs[k].read);
            invalid = runs[k].read < ends[k] - starts[k];
        }
        if (writing.valid())
            writing.get(); // the other set is free again; a failed write throws here
        auto writeOut = [&sink, halves, written] {
            for (int k = 0; k < 2; ++k)
                sink.write(QByteArrayView(halves[k].constData(), written[k]));
        };
        if (invalid || last) {
            writeOut();
            if (invalid)
                return {ExitStatus::Unconvertible, batch_texts::invalidShiftJis(read.line, read.column), 0};
            return {};
        }
        // Writing out a small block takes less than starting a thread for it.
        if (cut < halvesFrom || !startThread(writing, writeOut))
            writeOut();
        set ^= 1;
        reader.keepFrom(cut);
        reader.next();
    }
}

} // namespace orvane::batch
