// A file of bytes that no compression shrinks, the same at every run: what
// a scanned document is to the store.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

inline void writeNoiseFile(const std::string& path, int mebibytes)
{
    std::ofstream out(path, std::ios::binary);
    std::string chunk(1 << 20, '\0');
    uint64_t x = 88172645463325252ull;  // xorshift64
    for (int c = 0; c < mebibytes; ++c) {
        for (char& b : chunk) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            b = static_cast<char>(x);
        }
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    }
}
