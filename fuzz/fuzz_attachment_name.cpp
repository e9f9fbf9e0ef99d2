// Fuzz target: a stored attachment's name, whatever bytes it holds, becomes
// a name that is safe to write a file under in the program's own folder:
// never empty, no folder part, no control character, no leading dot or
// dash, at most 200 bytes, and the same again when made safe twice.
#include "entry/Attachments.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string stored(reinterpret_cast<const char*>(data), size);
    std::string safe = velmora::safeFileName(stored);
    if (safe.empty() || safe.size() > 200 || safe == "." || safe == "..") std::abort();
    if (safe.find('/') != std::string::npos || safe.front() == '.' || safe.front() == '-') std::abort();
    for (unsigned char c : safe)
        if (c < 0x20 || c == 0x7f) std::abort();
    if (velmora::safeFileName(safe) != safe) std::abort();
    return 0;
}
