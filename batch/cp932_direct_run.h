#pragma once
// The streaming run over the code page 932 byte map: each large block converts in two halves at
// once, and a block's output is written out while the next one converts.

#include "block_reader.h"
#include "cp932_direct.h"
#include "stream_conversion.h"

namespace orvane::batch {

StreamOutcome runCp932Direct(const Cp932Direct &direct, BlockReader &reader, ByteSink &sink);

} // namespace orvane::batch
