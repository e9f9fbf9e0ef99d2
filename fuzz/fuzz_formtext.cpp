// Fuzz target: the form text reader answers every input with an image or a
// listed error, and the image it makes converts back to text.
#include "controls/FormText.h"
#include "controls/ImageStream.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        std::string image = velmora::formTextToImage(text);
        // What the reader accepted, the writer must write.
        std::string again = velmora::imageToFormText(image);
        if (velmora::formTextToImage(again) != image) __builtin_trap();
    } catch (const velmora::EReadError&) {
    }
    return 0;
}
