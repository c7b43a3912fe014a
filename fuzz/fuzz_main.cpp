// One libFuzzer program per reader: QUOR_FUZZ_ENTRY names its entry point.
#include "entry_points.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return QUOR_FUZZ_ENTRY(data, size);
}
