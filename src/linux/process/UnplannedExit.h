#pragma once

#include <functional>

namespace quillbern {

// A library may end the program with exit() from inside its event loop: Qt's X plugin does
// when its connection to the X server breaks. exit() then destroys the libraries' globals
// (Qt's image readers and plugins, its painting, GLib's) while threads of ours may still be
// inside those libraries, which then crash. While an UnplannedExit lives, an exit() on the
// main thread runs `beforeEnd` with its status first, with every object of the program still
// in place, and then ends the process at once with that status: no atexit handler and no
// destructor of a static object runs. The steps of all that live run, the one made last
// first. Main thread.
class UnplannedExit {
public:
    explicit UnplannedExit(std::function<void(int status)> beforeEnd);
    ~UnplannedExit();
    UnplannedExit(const UnplannedExit&) = delete;
    UnplannedExit& operator=(const UnplannedExit&) = delete;

private:
    std::function<void(int)> beforeEnd_;
};

}  // namespace quillbern
