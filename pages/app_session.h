// The process-wide state the window program works on.
#pragma once

#include "exchange.h"
#include "program_state.h"
#include "project.h"
#include "serial_port_qt.h"

#include <functional>
#include <memory>

namespace vkt {

struct AppSession {
    // The project document: record, adjustment, band limits, identity and
    // image, changed only through its steps.
    Project project;
    const ProgramState &state() const { return project.state(); }
    PortSelection ports; // Port, AutoSeachPort and the last scan
    std::unique_ptr<QtSerialLine> line; // numbered ports 1..30
    // Ends the edit in progress (the main window moves the focus to its
    // hidden button, so the control being edited stores its value). Enter
    // in the options page's text fields does this. Unset: the field just
    // gives up the focus.
    std::function<void()> endEdit;

    AppSession() : line(std::make_unique<QtSerialLine>(PortMap::FromSystem())) {}
};

} // namespace vkt
