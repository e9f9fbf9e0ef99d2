// velmora-read in a process of its own, fork and exec, its limits set in
// the child before exec with calls safe to make there.
#include "entry/ReaderProcess.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace velmora {

namespace {

ReaderOutput failedReading(std::string reason)
{
    ReaderOutput out;
    out.state = "failed";
    out.reason = std::move(reason);
    return out;
}

bool runnable(const std::string& path)
{
    return !path.empty() && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string readerProgram()
{
    if (const char* set = std::getenv("VELMORA_READER"); set && *set) return set;
    char self[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
        std::string dir(self, static_cast<size_t>(n));
        dir.erase(dir.find_last_of('/'));
        for (const std::string& candidate : {dir + "/velmora-read", dir + "/../libexec/velmora/velmora-read"})
            if (runnable(candidate)) return candidate;
    }
#ifdef VELMORA_READER_BUILT
    if (runnable(VELMORA_READER_BUILT)) return VELMORA_READER_BUILT;
#endif
    return "velmora-read";
}

std::string installedReaderEngine()
{
    std::string quoted = "'";
    for (char c : readerProgram()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quoted += "'";
    std::FILE* p = ::popen((quoted + " --engine 2>/dev/null").c_str(), "r");
    if (!p) return "";
    char line[256] = {};
    std::string engine = std::fgets(line, sizeof line, p) ? line : "";
    if (::pclose(p) != 0) return "";
    while (!engine.empty() && (engine.back() == '\n' || engine.back() == '\r')) engine.pop_back();
    return engine;
}

ReaderProcess::ReaderProcess(const std::string& path, const std::string& mimeType, const ReaderLimits& limits)
    : limits_(limits), deadline_(std::chrono::steady_clock::now() + std::chrono::seconds(limits.seconds))
{
    std::string program = readerProgram();
    if (!runnable(program)) {
        // Not installed: the file waits, as for missing language data,
        // rather than being marked failed.
        result_ = failedReading("A szövegolvasó (velmora-read) nem indítható el: " + program);
        result_.state = "missing";
        ended_ = true;
        return;
    }
    // Everything the child needs is made before the fork: after it, the
    // child makes only calls that are safe in a copy of a threaded process.
    std::vector<std::string> args = {program, "--max-pages", std::to_string(limits.maxPages), mimeType, path};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    // Tesseract's threads would only contend with the program's own.
    std::vector<std::string> env = {"OMP_THREAD_LIMIT=1"};
    for (char** e = environ; e && *e; ++e)
        if (std::strncmp(*e, "OMP_THREAD_LIMIT=", 17) != 0) env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    rlimit memory{limits.memoryBytes, limits.memoryBytes};
    rlimit cpu{static_cast<rlim_t>(limits.seconds), static_cast<rlim_t>(limits.seconds) + 1};
    rlimit none{0, 0};

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        result_ = failedReading(std::string("A szövegolvasó nem indítható el: ") + std::strerror(errno));
        ended_ = true;
        return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(fds[1], 1);
        ::dup2(null, 2);
        ::setrlimit(RLIMIT_AS, &memory);
        ::setrlimit(RLIMIT_CPU, &cpu);
        ::setrlimit(RLIMIT_CORE, &none);
        ::setrlimit(RLIMIT_FSIZE, &none);  // it writes no file, only its output
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    if (pid_ < 0) {
        ::close(fds[0]);
        result_ = failedReading(std::string("A szövegolvasó nem indítható el: ") + std::strerror(errno));
        ended_ = true;
        return;
    }
    out_ = fds[0];
    ::fcntl(out_, F_SETFL, O_NONBLOCK);
}

ReaderProcess::~ReaderProcess()
{
    // A reading given up (the program closing mid-way) is stopped and
    // reaped, never left behind as a process.
    if (!ended_) {
        stop();
        while (pid_ > 0 && ::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    if (out_ >= 0) ::close(out_);
}

bool ReaderProcess::poll()
{
    if (ended_) return true;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(out_, buffer, sizeof buffer);
        if (n > 0) {
            bytes_.append(buffer, static_cast<size_t>(n));
            if (bytes_.size() > limits_.maxOutputBytes) {
                tooMuch_ = true;
                stop();
                finish(false);
                return true;
            }
            continue;
        }
        if (n == 0) {
            finish(false);
            return true;
        }
        if (errno == EINTR) continue;
        break;  // nothing more for now
    }
    if (std::chrono::steady_clock::now() >= deadline_) {
        stop();
        finish(true);
        return true;
    }
    return false;
}

const ReaderOutput& ReaderProcess::wait()
{
    while (!poll()) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - std::chrono::steady_clock::now());
        pollfd p{out_, POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(std::clamp<int64_t>(left.count(), 1, 1000)));
    }
    return result_;
}

void ReaderProcess::stop()
{
    if (pid_ > 0) ::kill(pid_, SIGKILL);
}

void ReaderProcess::finish(bool timedOut)
{
    ended_ = true;
    int status = 0;
    while (pid_ > 0 && ::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    if (timedOut) {
        result_ = failedReading("Az olvasás túllépte az időkorlátot (" + std::to_string(limits_.seconds) + " mp).");
    } else if (tooMuch_) {
        result_ = failedReading("A fájlból olvasott szöveg túl hosszú.");
    } else if (WIFSIGNALED(status)) {
        int sig = WTERMSIG(status);
        result_ = failedReading(sig == SIGXCPU ? "Az olvasás túllépte az időkorlátot."
                                               : "Az olvasás leállt (" + std::string(strsignal(sig)) +
                                                     "): a fájl sérült vagy túl nagy.");
    } else if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
        result_ = failedReading("A szövegolvasó (velmora-read) nem indítható el.");
    } else if (std::optional<ReaderOutput> said = parseReaderOutput(bytes_);
               said && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        result_ = std::move(*said);
    } else {
        result_ = failedReading("A szövegolvasó érthetetlen választ adott.");
    }
    bytes_.clear();
    bytes_.shrink_to_fit();
}

}  // namespace velmora
