// velmora-read run for one file, in a process of its own with limits on
// its time, memory, pages and output: a hostile or huge file stops that
// process, which is then reported as a failed reading, never the program.
#pragma once

#include "registry/ReaderOutput.h"

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <string>

namespace velmora {

struct ReaderLimits {
    int seconds = 120;                             // wall-clock, the whole file
    size_t memoryBytes = size_t{3} << 30;          // address space
    int maxPages = 50;                             // pages past these are left unread
    size_t maxOutputBytes = size_t{32} << 20;      // text written back
};

// Where velmora-read is: $VELMORA_READER, else beside the running program,
// else in ../libexec/velmora from it (as installed), else in the build tree.
std::string readerProgram();
// What the installed velmora-read names its engines ("Tesseract 5.3.0,
// Poppler 22.12.0"); empty when it cannot be run.
std::string installedReaderEngine();

class ReaderProcess {
public:
    // Starts reading the file at `path`, of type `mimeType`. A process that
    // cannot start ends at once as a failed reading.
    ReaderProcess(const std::string& path, const std::string& mimeType, const ReaderLimits& limits = {});
    ~ReaderProcess();
    ReaderProcess(const ReaderProcess&) = delete;
    ReaderProcess& operator=(const ReaderProcess&) = delete;

    // Takes what the process wrote so far without waiting; true once it
    // has ended (or was stopped at a limit).
    bool poll();
    // Waits for the end; what it said, or a failed reading saying why.
    const ReaderOutput& wait();
    // After poll() said true.
    const ReaderOutput& result() const { return result_; }

private:
    void finish(bool timedOut);
    void stop();

    pid_t pid_ = -1;
    int out_ = -1;
    std::string bytes_;
    bool ended_ = false;
    bool tooMuch_ = false;
    ReaderLimits limits_;
    std::chrono::steady_clock::time_point deadline_;
    ReaderOutput result_;
};

}  // namespace velmora
