// A headless program of ours run as a child process and fed gestures line
// by line through its standard input; what it prints (standard output and
// error together) is read back line by line, with a time limit, and kept
// as a transcript for the report when something goes wrong.
#pragma once

#include <chrono>
#include <string>
#include <vector>

class ChildProgram {
public:
    // Starts `executable` with `environment` ("NAME=VALUE") added to ours;
    // with a file size limit (RLIMIT_FSIZE, SIGXFSZ ignored) its writes
    // beyond that many bytes fail as on a full disk.
    ChildProgram(const std::string& executable, const std::vector<std::string>& environment = {},
                 long long fileSizeLimit = -1);
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    void send(const std::string& lines);
    // The next line printed; raises when none comes within `limit` or the
    // program has ended.
    std::string line(std::chrono::milliseconds limit = std::chrono::seconds(60));
    // Closes the input and waits for the end; the exit status, or 128 +
    // the signal that ended it.
    int finish();
    // SIGKILL, then waits.
    void kill();
    const std::string& transcript() const { return transcript_; }
    // Changes the file size limit of the running program (-1: none).
    void setFileSizeLimit(long long bytes);

private:
    int wait();
    int pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string buffered_;
    std::string transcript_;
};
