#pragma once
// The three nibble tables of the vector UTF-8 check (the lookup method of Keiser and Lemire).
// Each error kind is one bit; a pair of bytes (prev, cur) is ill-formed exactly when the tables
// looked up by prev's high nibble, prev's low nibble and cur's high nibble share a bit. Bit 7 marks
// a continuation after a continuation, which is right only where a lead two or three bytes back
// asks for it; the kernels check that separately.
// Included by the kernels compiled for other instruction sets, so it includes nothing.

namespace orvane::codec::utf8::lookup {

constexpr unsigned char kTooShort = 1 << 0; // a lead followed by a non-continuation
constexpr unsigned char kTooLong = 1 << 1; // ASCII followed by a continuation
constexpr unsigned char kOverlong3 = 1 << 2; // E0 80..9F
constexpr unsigned char kTooLarge = 1 << 3; // F4 90..BF, F5.. 90..BF
constexpr unsigned char kSurrogate = 1 << 4; // ED A0..BF
constexpr unsigned char kOverlong2 = 1 << 5; // C0, C1
constexpr unsigned char kTooLarge1000 = 1 << 6; // F5.. 80..8F
constexpr unsigned char kOverlong4 = 1 << 6; // F0 80..8F
constexpr unsigned char kTwoContinuations = 1 << 7;
constexpr unsigned char kCarry = kTooShort | kTooLong | kTwoContinuations;

alignas(16) constexpr unsigned char firstHigh[16] = {
    kTooLong,
    kTooLong,
    kTooLong,
    kTooLong,
    kTooLong,
    kTooLong,
    kTooLong,
    kTooLong, // 0___ ASCII
    kTwoContinuations,
    kTwoContinuations,
    kTwoContinuations,
    kTwoContinuations, // 10__
    kTooShort | kOverlong2, // 1100
    kTooShort, // 1101
    kTooShort | kOverlong3 | kSurrogate, // 1110
    kTooShort | kTooLarge | kTooLarge1000 | kOverlong4, // 1111
};

alignas(16) constexpr unsigned char firstLow[16] = {
    kCarry | kOverlong3 | kOverlong2 | kOverlong4, // ___0000
    kCarry | kOverlong2, // ___0001
    kCarry, // ___0010
    kCarry, // ___0011
    kCarry | kTooLarge, // ___0100
    kCarry | kTooLarge | kTooLarge1000, // ___0101
    kCarry | kTooLarge | kTooLarge1000, // ___0110
    kCarry | kTooLarge | kTooLarge1000, // ___0111
    kCarry | kTooLarge | kTooLarge1000, // ___1000
    kCarry | kTooLarge | kTooLarge1000, // ___1001
    kCarry | kTooLarge | kTooLarge1000, // ___1010
    kCarry | kTooLarge | kTooLarge1000, // ___1011
    kCarry | kTooLarge | kTooLarge1000, // ___1100
    kCarry | kTooLarge | kTooLarge1000 | kSurrogate, // ___1101
    kCarry | kTooLarge | kTooLarge1000, // ___1110
    kCarry | kTooLarge | kTooLarge1000, // ___1111
};

alignas(16) constexpr unsigned char secondHigh[16] = {
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort, // ASCII
    kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge1000 | kOverlong4, // 1000
    kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge, // 1001
    kTooLong | kOverlong2 | kTwoContinuations | kSurrogate | kTooLarge, // 1010
    kTooLong | kOverlong2 | kTwoContinuations | kSurrogate | kTooLarge, // 1011
    kTooShort,
    kTooShort,
    kTooShort,
    kTooShort, // 11__
};

// The kernels check this many bytes between looks at their error flags, so that an invalid file
// (most Shift-JIS files are invalid UTF-8 early on) is not read to its end.
constexpr long kChunkBytes = 1024;

} // namespace orvane::codec::utf8::lookup
