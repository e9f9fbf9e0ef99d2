// A database file held open by the process, with a flock() that a restore
// takes alone to tell that no other program has the database open.
//
// Every SQLite connection of the process to one file shares one
// descriptor: closing any descriptor of a file drops every fcntl() lock
// the process holds on it, SQLite's own included. In WAL mode SQLite's
// shared lock on the file is what tells another program that the log is
// still in use; dropped, that program would fold the log back and delete
// it under this one's feet.
#pragma once

#include <string>

namespace db {

class HeldFile {
public:
    // Opens `file`, or shares the process's descriptor of it, and takes a
    // shared flock(); false when a restore holds the file alone.
    bool hold(const std::string& file);
    // Lets the shared flock() go, and the descriptor with the file's last
    // holder in the process; after the file's SQLite connections closed.
    ~HeldFile();

    // A restore's own: the flock() alone, or false when another program
    // holds it; and the shared flock() again.
    bool takeAlone();
    void share();

private:
    int fd_ = -1;
};

}  // namespace db
