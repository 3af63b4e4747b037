#pragma once
// The streaming run over the code page 932 byte map: each large block converts in two halves at
// once, and a block's output is written out while the next one converts.

#include "block_reader.h"
#include "stream_outcome.h"

#include "text/codec/cp932_byte_map.h"

namespace orvane::batch {

StreamOutcome runCp932ByteMap(const codec::Cp932ByteMap &map, BlockReader &reader, ByteSink &sink);

} // namespace orvane::batch
