// Code page 932 decode and encode speed on Japanese and on ASCII-heavy text, with memcpy of the
// same buffer and glibc's iconv as references. Throughput is counted in code page 932 bytes.
// The plain runs get fresh memory from the kernel for every output, as the one-time decode of a
// large file does; the WarmPages runs reuse mapped memory and so measure the loops alone.

#include "bench/support/memcpy_reference.h"
#include "bench/support/warm_pages.h"
#include "text/codec/cp932.h"

#include <benchmark/benchmark.h>

#include <iconv.h>
#include <sys/mman.h>

#include <cstring>
#include <random>
#include <vector>

using namespace orvane;

namespace {

constexpr qsizetype kTargetSize = 8 << 20;

void appendCode(QByteArray &out, uint code)
{
    if (code > 0xFF)
        out.append(char(code >> 8));
    out.append(char(code & 0xFF));
}

// Novel-like text: kanji and hiragana with some katakana, punctuation, digits and Latin words,
// lines of about 40 characters ending in CR LF.
QByteArray japaneseText()
{
    std::mt19937 random(1);
    QByteArray out;
    out.reserve(kTargetSize + 256);
    int column = 0;
    while (out.size() < kTargetSize) {
        const unsigned pick = random() % 100;
        if (pick < 40) { // JIS level 1 kanji, rows 0x88-0x98
            const unsigned lead = 0x89 + random() % 15;
            const unsigned trail = 0x40 + random() % 0xBC;
            appendCode(out, lead << 8 | (trail >= 0x7F ? trail + 1 : trail));
        } else if (pick < 80) {
            appendCode(out, 0x829F + random() % 83); // hiragana
        } else if (pick < 88) {
            appendCode(out, 0x8340 + random() % 62); // katakana
        } else if (pick < 93) {
            appendCode(out, random() % 2 ? 0x8141 : 0x8142); // 、 。
        } else if (pick < 97) {
            out.append("2024");
            column += 3;
        } else {
            out.append(" Qt ");
            column += 3;
        }
        if (++column >= 40) {
            out.append("\r\n");
            column = 0;
        }
    }
    return out;
}

// Source code or English prose with an occasional Japanese comment.
QByteArray asciiText()
{
    std::mt19937 random(2);
    static const char *const words[] = {"the", "return", "value", "int",  "const", "QString", "=",   "{", "}",
                                        "if",  "(text)", "for",   "size", "0;",    "editor",  "file"};
    QByteArray out;
    out.reserve(kTargetSize + 256);
    int column = 0;
    while (out.size() < kTargetSize) {
        if (random() % 200 == 0) {
            out.append("// \x95\xB6\x8E\x9A\x97\xF1"); // 文字列
            column += 9;
        } else {
            const char *word = words[random() % std::size(words)];
            out.append(word).append(' ');
            column += int(std::strlen(word)) + 1;
        }
        if (column > 70) {
            out.append("\r\n");
            column = 0;
        }
    }
    return out;
}

// The Japanese text with one character in a hundred written in a code Windows does not write
// (NEC row 13 symbols, NEC-selected IBM kanji, IBM Roman numerals), as files from other programs
// hold them; the plain codes of the same characters never occur, so each is kept.
QByteArray japaneseTextWithOtherCodes()
{
    static const uint otherCodes[] = {0x879A, 0x8790, 0x8791, 0x8792, 0x8795, 0x8796, 0x8797,
                                      0xED40, 0xED41, 0xED42, 0xEE41, 0xEEEF, 0xEEF0, 0xFA4A};
    std::mt19937 random(3);
    const QByteArray japanese = japaneseText();
    QByteArray out;
    out.reserve(japanese.size() + 1024);
    for (qsizetype i = 0; i < japanese.size(); ++i) {
        const auto b = uchar(japanese[i]);
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        if (lead && random() % 100 == 0) {
            appendCode(out, otherCodes[random() % std::size(otherCodes)]);
            ++i;
            continue;
        }
        out.append(char(b));
        if (lead)
            out.append(japanese[++i]);
    }
    return out;
}

const QByteArray &sample(int which)
{
    static const QByteArray japanese = japaneseText();
    static const QByteArray ascii = asciiText();
    static const QByteArray otherCodes = japaneseTextWithOtherCodes();
    return which == 0 ? japanese : which == 1 ? ascii : otherCodes;
}

void setLabel(benchmark::State &state, int which)
{
    state.SetLabel(which == 0 ? "japanese" : which == 1 ? "ascii-heavy" : "japanese, 1 % other codes");
}

void BM_Memcpy(benchmark::State &state)
{
    const QByteArray &bytes = sample(int(state.range(0)));
    bench::timeMemcpy(state, bytes.constData(), size_t(bytes.size()));
    setLabel(state, int(state.range(0)));
}

// memcpy into memory the process never touched before, in the decoded text's size: the cost of
// first touching fresh pages, which a one-time decode of a large file pays too (in a loop, the
// allocator hands the decoder back the same pages).
void BM_MemcpyToFreshPages(benchmark::State &state)
{
    const QByteArray &bytes = sample(int(state.range(0)));
    const size_t length = size_t(bytes.size()) * 2;
    for (auto _ : state) {
        void *target = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (target == MAP_FAILED) {
            state.SkipWithError("mmap failed");
            break;
        }
        auto *data = static_cast<char *>(target);
        std::memcpy(data, bytes.constData(), length / 2);
        std::memcpy(data + length / 2, bytes.constData(), length / 2);
        benchmark::DoNotOptimize(data);
        benchmark::ClobberMemory();
        munmap(target, length);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    setLabel(state, int(state.range(0)));
}

void BM_Decode(benchmark::State &state)
{
    const QByteArray &bytes = sample(int(state.range(0)));
    for (auto _ : state) {
        QString text;
        if (!codec::cp932::decode(bytes, text))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    setLabel(state, int(state.range(0)));
}

// The decoding loop itself: the allocator keeps freed memory mapped, so each new string reuses
// pages touched before.
void BM_DecodeWarmPages(benchmark::State &state)
{
    const bench::WarmPages warm;
    BM_Decode(state);
}

// The sample's text encoded again, with the file's own codes when given.
void timeEncode(benchmark::State &state, const QString &text, const codec::cp932::FileCodes *codes = nullptr)
{
    for (auto _ : state) {
        QByteArray out;
        if (!codec::cp932::encode(text, out, nullptr, codes))
            state.SkipWithError("encode failed");
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(state.iterations() * sample(int(state.range(0))).size());
    setLabel(state, int(state.range(0)));
}

void BM_Encode(benchmark::State &state)
{
    QString text;
    codec::cp932::decode(sample(int(state.range(0))), text);
    timeEncode(state, text);
}

void BM_EncodeWarmPages(benchmark::State &state)
{
    const bench::WarmPages warm;
    BM_Encode(state);
}

// The same encode keeping the file's own codes of the text it was decoded from.
void BM_EncodeWarmPagesKeepingCodes(benchmark::State &state)
{
    const bench::WarmPages warm;
    const QByteArray &bytes = sample(int(state.range(0)));
    QString text;
    codec::cp932::FileCodes codes;
    codec::cp932::decode(bytes, text, nullptr, &codes);
    QByteArray check;
    if (!codec::cp932::encode(text, check, nullptr, &codes) || check != bytes)
        state.SkipWithError("not the same bytes");
    timeEncode(state, text, &codes);
    state.counters["kept_codes"] = double(codes.size());
}

// Straight to UTF-8, as Open decodes.
void BM_DecodeToUtf8(benchmark::State &state)
{
    const QByteArray &bytes = sample(int(state.range(0)));
    for (auto _ : state) {
        QByteArray utf8;
        qsizetype units = 0;
        if (!codec::cp932::decodeToUtf8(bytes, utf8, units))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(utf8.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    setLabel(state, int(state.range(0)));
}

void BM_GlibcDecode(benchmark::State &state)
{
    const QByteArray &bytes = sample(int(state.range(0)));
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    std::vector<char> target(size_t(bytes.size()) * 2);
    for (auto _ : state) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char *in = const_cast<char *>(bytes.constData());
        size_t inLeft = size_t(bytes.size());
        char *out = target.data();
        size_t outLeft = target.size();
        if (iconv(cd, &in, &inLeft, &out, &outLeft) == size_t(-1))
            state.SkipWithError("iconv failed");
        benchmark::DoNotOptimize(target.data());
    }
    iconv_close(cd);
    state.SetBytesProcessed(state.iterations() * bytes.size());
    setLabel(state, int(state.range(0)));
}

} // namespace

BENCHMARK(BM_Memcpy)->Arg(0)->Arg(1);
BENCHMARK(BM_MemcpyToFreshPages)->Arg(0)->Arg(1);
BENCHMARK(BM_Decode)->Arg(0)->Arg(1);
BENCHMARK(BM_DecodeWarmPages)->Arg(0)->Arg(1);
BENCHMARK(BM_Encode)->Arg(0)->Arg(1);
BENCHMARK(BM_EncodeWarmPages)->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(BM_EncodeWarmPagesKeepingCodes)->Arg(0)->Arg(2);
BENCHMARK(BM_DecodeToUtf8)->Arg(0)->Arg(1);
BENCHMARK(BM_GlibcDecode)->Arg(0)->Arg(1);

BENCHMARK_MAIN();
