// Fuzz target: what a reader process wrote, whatever bytes it holds, reads
// as the reader's output or as nothing, without a throw, and what reads
// writes itself back to the same.
#include "registry/ReaderOutput.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::optional<velmora::ReaderOutput> out = velmora::parseReaderOutput(bytes);
    if (!out) return 0;
    std::optional<velmora::ReaderOutput> again = velmora::parseReaderOutput(velmora::writeReaderOutput(*out));
    if (!again || again->pages != out->pages || again->state != out->state || again->reason != out->reason)
        std::abort();
    return 0;
}
