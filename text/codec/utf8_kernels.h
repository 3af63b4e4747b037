#pragma once
// The UTF-8 validation and encoding kernels and the choice among them. The vector kernels live in files built
// for their instruction set and are called only where the processor has it; this header is
// included there too, so it includes nothing that could be compiled for another processor.

#include <cstddef>

namespace orvane::codec::utf8 {

enum class Kernel { Scalar, Ssse3, Avx2 };

// The best kernel this processor runs, and whether it runs a given one.
Kernel bestKernel();
bool isAvailable(Kernel kernel);

namespace kernels {

// Each returns the start of the first chunk (lookup::kChunkBytes, counted from data) in which it
// saw an error, or size when the bytes are valid UTF-8. Nothing before the returned chunk start
// is ill-formed, except a sequence that begins up to three bytes before it and is cut by it.
std::ptrdiff_t checkSsse3(const unsigned char *data, std::ptrdiff_t size);
std::ptrdiff_t checkAvx2(const unsigned char *data, std::ptrdiff_t size);

// Writes the UTF-8 of text without lone surrogates and returns the bytes written. dst has room
// for three bytes a unit plus 16, as the vector stores may write past the last byte.
std::ptrdiff_t encodeSsse3(const char16_t *src, std::ptrdiff_t size, unsigned char *dst);

} // namespace kernels
} // namespace orvane::codec::utf8
