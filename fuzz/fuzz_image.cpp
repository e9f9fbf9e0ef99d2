// Fuzz target: the component image reader answers every input with a text or
// "Invalid stream format", never reading out of bounds.
#include "designs/FormText.h"
#include "designs/ImageStream.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view image(reinterpret_cast<const char*>(data), size);
    try {
        (void)velmora::imageToFormText(image);
    } catch (const velmora::EReadError&) {
    }
    return 0;
}
