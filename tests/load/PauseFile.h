// The test's side of a pause point (db/PausePoint.h): the environment that
// asks a program to hold at a named step of a save, and the wait until it
// holds there.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

class PauseFile {
public:
    // A file left from an earlier pause would read as holding at once.
    explicit PauseFile(std::string path) : path_(std::move(path)) { std::filesystem::remove(path_); }

    // The program's environment for holding at `point`; none for no point.
    std::vector<std::string> environment(const std::string& point) const
    {
        if (point.empty()) return {};
        return {"VELMORA_PAUSE=" + point + ":" + path_};
    }
    // Waits until the program holds (it has made the file); false when it
    // has not within `limit`.
    bool held(std::chrono::milliseconds limit = std::chrono::seconds(15)) const
    {
        for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
            if (std::filesystem::exists(path_)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return std::filesystem::exists(path_);
    }
    // Lets the program go on.
    void release() const { std::filesystem::remove(path_); }

private:
    std::string path_;
};
