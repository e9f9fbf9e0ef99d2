#include "ChildProgram.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

rlimit fileSizeLimitOf(long long bytes)
{
    // The soft limit only, so that it can be lifted again without privilege.
    return {bytes < 0 ? RLIM_INFINITY : static_cast<rlim_t>(bytes), RLIM_INFINITY};
}

}  // namespace

ChildProgram::ChildProgram(const std::string& executable, const std::vector<std::string>& environment,
                           long long fileSizeLimit)
{
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe: " + std::string(std::strerror(errno)));
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork: " + std::string(std::strerror(errno)));
    if (pid_ == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(out[1], 2);
        close(in[0]);
        close(in[1]);
        close(out[0]);
        close(out[1]);
        for (const std::string& e : environment) putenv(const_cast<char*>(e.c_str()));
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("QT_QPA_PLATFORM");
        setenv("LC_ALL", "C", 1);
        // A write past a file size limit (set now or later) fails with
        // EFBIG, as on a full disk, instead of ending the program.
        signal(SIGXFSZ, SIG_IGN);
        if (fileSizeLimit >= 0) {
            rlimit limit = fileSizeLimitOf(fileSizeLimit);
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    input_ = in[1];
    output_ = out[0];
    signal(SIGPIPE, SIG_IGN);  // a killed program's input is written to no one
}

ChildProgram::~ChildProgram()
{
    if (pid_ > 0) kill();
    if (input_ >= 0) close(input_);
    if (output_ >= 0) close(output_);
}

void ChildProgram::send(const std::string& lines)
{
    transcript_ += lines;
    for (size_t done = 0; done < lines.size();) {
        ssize_t n = write(input_, lines.data() + done, lines.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw std::runtime_error("the program takes no more input: " + std::string(std::strerror(errno)));
        done += static_cast<size_t>(n);
    }
}

std::string ChildProgram::line(std::chrono::milliseconds limit)
{
    auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        size_t end = buffered_.find('\n');
        if (end != std::string::npos) {
            std::string l = buffered_.substr(0, end);
            buffered_.erase(0, end + 1);
            transcript_ += "> " + l + "\n";
            return l;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) throw std::runtime_error("the program printed nothing in time");
        pollfd p{output_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        char buf[4096];
        ssize_t n = read(output_, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw std::runtime_error("the program ended");
        buffered_.append(buf, static_cast<size_t>(n));
    }
}

int ChildProgram::wait()
{
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

int ChildProgram::finish()
{
    if (input_ >= 0) close(input_);
    input_ = -1;
    // Whatever is left to print, so that the program never waits on a full
    // pipe; a program that does not end within a minute is killed.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    char buf[4096];
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd p{output_, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) == 0) {
            transcript_ += "(killed: it did not end after its input)\n";
            ::kill(pid_, SIGKILL);
            break;
        }
        ssize_t n = read(output_, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        transcript_.append(buf, static_cast<size_t>(n));
    }
    return wait();
}

void ChildProgram::setFileSizeLimit(long long bytes)
{
    rlimit limit = fileSizeLimitOf(bytes);
    if (prlimit(pid_, RLIMIT_FSIZE, &limit, nullptr) != 0)
        throw std::runtime_error("prlimit: " + std::string(std::strerror(errno)));
}

void ChildProgram::kill()
{
    ::kill(pid_, SIGKILL);
    wait();
}
