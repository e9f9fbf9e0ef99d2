// Fuzz target: the form text reader answers every input with an image or a
// listed error, and the text the writer makes of that image survives
// text -> image -> text unchanged.
#include "designs/FormText.h"
#include "designs/ImageStream.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        std::string image = velmora::formTextToImage(text);
        std::string written = velmora::imageToFormText(image);
        if (velmora::imageToFormText(velmora::formTextToImage(written)) != written) __builtin_trap();
    } catch (const velmora::EReadError&) {
    }
    return 0;
}
