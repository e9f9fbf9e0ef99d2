// Fuzz target: a stored attachment's name, whatever bytes it holds, becomes
// a name that is safe to write a file under in the program's own folder:
// never empty, no folder part, no control character, no leading dot or
// dash, at most 200 bytes, and the same again when made safe twice. The
// name kept of a file at any path is UTF-8 without control characters or
// a folder part, and kept the same when its own name is given again.
#include "entry/Attachments.h"
#include "toolkit/text/CodePage.h"
#include "toolkit/text/Text.h"

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

    std::string kept = velmora::attachmentName(stored);
    if (!tk::isValidUtf8(kept) || kept.find('/') != std::string::npos) std::abort();
    for (char32_t c : tk::toU32(kept))
        if (c < 0x20 || c == 0x7f || (c >= 0x80 && c < 0xa0)) std::abort();
    if (velmora::attachmentName(kept) != kept) std::abort();
    return 0;
}
