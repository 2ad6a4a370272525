// Arranging a test's starting record through the project document.
#pragma once

#include "project.h"

namespace vkt {

// A copy of the project's state for a test to change as its starting
// point; when the arrangement ends, the copy becomes the project's new
// start (no step to undo, and a main window shows it anew as after
// start-up; a page on its own is shown by its load()).
class Arrangement {
public:
    explicit Arrangement(Project &project) : project_(project), state_(project.state()) {}
    ~Arrangement() { project_.reset(state_); }
    Arrangement(const Arrangement &) = delete;
    Arrangement &operator=(const Arrangement &) = delete;

    ProgramState &state() { return state_; }
    RadioData &data() { return state_.data; }

private:
    Project &project_;
    ProgramState state_;
};

} // namespace vkt
