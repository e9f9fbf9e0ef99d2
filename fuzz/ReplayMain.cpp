// Runs a fuzz target over the files of its corpus folders, so that the
// regular test run replays every input the fuzzers have kept.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path p(argv[i]);
        std::vector<std::filesystem::path> inputs;
        if (std::filesystem::is_directory(p))
            for (const auto& e : std::filesystem::directory_iterator(p)) inputs.push_back(e.path());
        else inputs.push_back(p);
        for (const auto& in : inputs) {
            std::ifstream f(in, std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            ++files;
        }
    }
    std::printf("replayed %d inputs\n", files);
    return files > 0 ? 0 : 1;
}
