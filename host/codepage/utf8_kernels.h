#pragma once
// The UTF-8 validation kernels and the choice among them. The vector kernels live in files built
// for their instruction set and are called only where the processor has it; this header is
// included there too, so it includes nothing that could be compiled for another processor.

#include <cstddef>

namespace orvane::utf8 {

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

} // namespace kernels
} // namespace orvane::utf8
