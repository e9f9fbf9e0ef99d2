// A CUPS server of the test's own, with one queue: cupsd runs in the
// foreground from a private folder, listening on a socket there, and the
// queue keeps each job as it came (Qt sends PDF) in one file, through a
// small backend of the folder's own. Needs root (cupsd drops its filters
// and backends to the "lp" user) and Debian's cups-daemon; `why` says what
// is missing when it cannot start.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

class CupsQueue {
public:
    static constexpr const char* name = "Iroda";

    CupsQueue()
    {
        namespace fs = std::filesystem;
        if (geteuid() != 0) {
            why = "cupsd runs its backends as the lp user only when started as root; this test runs as uid " +
                  std::to_string(geteuid());
            return;
        }
        if (!fs::exists("/usr/sbin/cupsd") || !fs::exists("/usr/sbin/lpadmin")) {
            why = "cupsd or lpadmin is not installed (Debian's cups-daemon and cups-client)";
            return;
        }
        // No blanks: cupsd's files and device URIs take the path as it stands.
        std::string pattern = (fs::temp_directory_path() / "velmora-cups-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            why = "no temporary folder";
            return;
        }
        dir_ = pattern;
        for (const char* sub : {"spool", "tmp", "cache", "state", "ppd", "out", "bin", "bin/backend"})
            fs::create_directories(dir_ + "/" + sub);
        for (const auto& entry : fs::directory_iterator("/usr/lib/cups"))
            if (entry.path().filename() != "backend")
                fs::create_symlink(entry.path(), dir_ + "/bin/" + entry.path().filename().string());
        std::ofstream(dir_ + "/bin/backend/keep")
            << "#!/bin/sh\n"
               "[ $# -eq 0 ] && { echo 'file keep \"Unknown\" \"Keep the job\"'; exit 0; }\n"
               "out=\"${DEVICE_URI#keep:}\"\n"
               "if [ -n \"$6\" ]; then cat \"$6\" > \"$out.part\"; else cat > \"$out.part\"; fi\n"
               "mv \"$out.part\" \"$out\"\n";
        chmod((dir_ + "/bin/backend/keep").c_str(), 0755);
        chmod(dir_.c_str(), 0755);
        chmod((dir_ + "/out").c_str(), 0777);
        std::ofstream(dir_ + "/cupsd.conf") << "Listen " << socket() << "\nLogLevel warn\nWebInterface No\n"
                                            << "Browsing No\nDefaultAuthType None\n"
                                               "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                               "<Policy default>\n  <Limit All>\n    Order allow,deny\n"
                                               "    Allow all\n  </Limit>\n</Policy>\n";
        std::ofstream(dir_ + "/cups-files.conf")
            << "ServerRoot " << dir_ << "\nStateDir " << dir_ << "/state\nCacheDir " << dir_ << "/cache\n"
            << "RequestRoot " << dir_ << "/spool\nTempDir " << dir_ << "/tmp\nServerBin " << dir_ << "/bin\n"
            << "ErrorLog " << dir_ << "/error_log\nAccessLog " << dir_ << "/access_log\nPageLog " << dir_
            << "/page_log\nUser lp\nGroup lp\nSandboxing Relaxed\n";

        pid_ = fork();
        if (pid_ == 0) {
            int null = open("/dev/null", O_RDWR);
            dup2(null, 1);
            dup2(null, 2);
            execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", (dir_ + "/cupsd.conf").c_str(), "-s",
                  (dir_ + "/cups-files.conf").c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        std::string env = "CUPS_SERVER='" + socket() + "' ";
        for (int i = 0; i < 100; ++i) {
            if (fs::exists(socket()) && std::system((env + "lpstat -r >/dev/null 2>&1").c_str()) == 0) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        std::string add = env + "lpadmin -p " + name + " -E -v 'keep:" + jobFile() + "' -m raw >/dev/null 2>&1";
        if (std::system(add.c_str()) != 0) why = "cupsd did not start or took no queue; its log: " + dir_ + "/error_log";
    }
    ~CupsQueue()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        std::error_code ec;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
    }
    CupsQueue(const CupsQueue&) = delete;
    CupsQueue& operator=(const CupsQueue&) = delete;

    bool running() const { return why.empty(); }
    // CUPS_SERVER for the programs that print.
    std::string socket() const { return dir_ + "/cups.sock"; }
    // Where the queue keeps the last job.
    std::string jobFile() const { return dir_ + "/out/job.pdf"; }
    // Waits (up to 20 s) for the job to be kept.
    bool waitForJob() const
    {
        for (int i = 0; i < 200; ++i) {
            if (std::filesystem::exists(jobFile())) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    std::string why;

private:
    std::string dir_;
    pid_t pid_ = -1;
};
