#include "fast_hash.h"

#include <QtEndian>

#include <cstring>

namespace orvane::journal {

namespace {

constexpr quint64 prime1 = 0x9E3779B185EBCA87ULL;
constexpr quint64 prime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr quint64 prime3 = 0x165667B19E3779F9ULL;
constexpr quint64 prime4 = 0x85EBCA77C2B2AE63ULL;
constexpr quint64 prime5 = 0x27D4EB2F165667C5ULL;

quint64 rotl(quint64 x, int r) { return (x << r) | (x >> (64 - r)); }

// Little-endian loads whatever the host's byte order, so a journal reads the same everywhere.
quint64 read64(const uchar *p)
{
    quint64 v;
    std::memcpy(&v, p, 8);
    return qFromLittleEndian(v);
}

quint32 read32(const uchar *p)
{
    quint32 v;
    std::memcpy(&v, p, 4);
    return qFromLittleEndian(v);
}

quint64 round(quint64 acc, quint64 input)
{
    acc += input * prime2;
    acc = rotl(acc, 31);
    return acc * prime1;
}

quint64 mergeRound(quint64 acc, quint64 value)
{
    acc ^= round(0, value);
    return acc * prime1 + prime4;
}

} // namespace

quint64 fastHash(QByteArrayView bytes, quint64 seed)
{
    const uchar *p = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *const end = p + bytes.size();
    quint64 h;
    if (bytes.size() >= 32) {
        quint64 v1 = seed + prime1 + prime2;
        quint64 v2 = seed + prime2;
        quint64 v3 = seed;
        quint64 v4 = seed - prime1;
        const uchar *const limit = end - 32;
        do {
            v1 = round(v1, read64(p));
            v2 = round(v2, read64(p + 8));
            v3 = round(v3, read64(p + 16));
            v4 = round(v4, read64(p + 24));
            p += 32;
        } while (p <= limit);
        h = rotl(v1, 1) + rotl(v2, 7) + rotl(v3, 12) + rotl(v4, 18);
        h = mergeRound(h, v1);
        h = mergeRound(h, v2);
        h = mergeRound(h, v3);
        h = mergeRound(h, v4);
    } else {
        h = seed + prime5;
    }
    h += quint64(bytes.size());
    for (; p + 8 <= end; p += 8) {
        h ^= round(0, read64(p));
        h = rotl(h, 27) * prime1 + prime4;
    }
    if (p + 4 <= end) {
        h ^= quint64(read32(p)) * prime1;
        h = rotl(h, 23) * prime2 + prime3;
        p += 4;
    }
    for (; p < end; ++p) {
        h ^= quint64(*p) * prime5;
        h = rotl(h, 11) * prime1;
    }
    h ^= h >> 33;
    h *= prime2;
    h ^= h >> 29;
    h *= prime3;
    h ^= h >> 32;
    return h;
}

} // namespace orvane::journal
