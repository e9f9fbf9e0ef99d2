#include "db/HeldFile.h"

#include <map>
#include <mutex>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace db {

namespace {

struct Holder {
    int fd = -1;
    int users = 0;
};

std::mutex holdersLock;

// The process's descriptor of each held file, by device and inode.
std::map<std::pair<dev_t, ino_t>, Holder>& holders()
{
    static std::map<std::pair<dev_t, ino_t>, Holder> all;
    return all;
}

}  // namespace

bool HeldFile::hold(const std::string& file)
{
    std::lock_guard<std::mutex> guard(holdersLock);
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return true;  // SQLite said what is wrong
    Holder& h = holders()[{st.st_dev, st.st_ino}];
    if (h.fd < 0) {
        h.fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (h.fd < 0) return true;
        if (flock(h.fd, LOCK_SH | LOCK_NB) != 0) {
            ::close(h.fd);
            holders().erase({st.st_dev, st.st_ino});
            return false;
        }
    }
    ++h.users;
    fd_ = h.fd;
    return true;
}

HeldFile::~HeldFile()
{
    if (fd_ < 0) return;
    std::lock_guard<std::mutex> guard(holdersLock);
    for (auto it = holders().begin(); it != holders().end(); ++it)
        if (it->second.fd == fd_ && --it->second.users == 0) {
            ::close(fd_);
            holders().erase(it);
            break;
        }
}

bool HeldFile::takeAlone()
{
    if (fd_ >= 0 && flock(fd_, LOCK_EX | LOCK_NB) == 0) return true;
    // A refused conversion may have dropped the shared lock.
    share();
    return false;
}

void HeldFile::share()
{
    if (fd_ >= 0) flock(fd_, LOCK_SH);
}

}  // namespace db
