// Fuzz target: a file of any bytes, handed to velmora-read as a PDF, PNG,
// JPEG or TIFF (by its first byte), may fail to read, but the reading ends
// within its time limit as an answer, and never takes this program down.
#include "entry/ReaderProcess.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    static const char* const types[] = {"application/pdf", "image/png", "image/jpeg", "image/tiff"};
    std::string type = types[data[0] % 4];
    std::string path = (std::filesystem::temp_directory_path() / ("velmora-fuzz-" + std::to_string(::getpid()))).string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data + 1),
                                                 static_cast<std::streamsize>(size - 1));
    velmora::ReaderLimits limits;
    limits.seconds = 20;
    limits.memoryBytes = size_t{1} << 30;
    auto started = std::chrono::steady_clock::now();
    velmora::ReaderProcess reader(path, type, limits);
    const velmora::ReaderOutput& out = reader.wait();
    std::filesystem::remove(path);
    if (std::chrono::steady_clock::now() - started > std::chrono::seconds(limits.seconds + 5)) std::abort();
    if (out.state != "done" && out.state != "failed" && out.state != "missing") std::abort();
    if (out.state == "failed" && out.reason.empty()) std::abort();
    return 0;
}
