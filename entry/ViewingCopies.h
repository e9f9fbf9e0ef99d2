// Read-only copies of attached files, handed to the desktop's viewer. They
// lie in a folder of the program's own (mode 0700) under $XDG_RUNTIME_DIR,
// else the temporary folder, each in a folder named by its attachment, and
// are removed with this object when the program ends.
#pragma once

#include <cstdint>
#include <string>

namespace velmora {

class ViewingCopies {
public:
    ViewingCopies() = default;
    ~ViewingCopies();
    ViewingCopies(const ViewingCopies&) = delete;
    ViewingCopies& operator=(const ViewingCopies&) = delete;

    // Where attachment `id` named `name` is copied for viewing: its name
    // made safe, in a folder of its own; a copy left there earlier is
    // removed first.
    std::string pathFor(int64_t id, const std::string& name);
    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
};

}  // namespace velmora
