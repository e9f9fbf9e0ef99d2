// Fuzz target: a fingerprint typed after velmora-admin verify --since,
// whatever bytes it holds, is read or refused without a throw, and what is
// read says itself again the same way.
#include "registry/HistoryVerify.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    std::optional<velmora::Fingerprint> f = velmora::parseFingerprint(text);
    if (!f) return 0;
    if (f->no < 0 || f->hashStart.size() < 8) std::abort();
    std::optional<velmora::Fingerprint> again =
        velmora::parseFingerprint(std::to_string(f->no) + ":" + f->hashStart + ":" + f->date);
    if (!again || again->no != f->no || again->hashStart != f->hashStart || again->date != f->date) std::abort();
    return 0;
}
