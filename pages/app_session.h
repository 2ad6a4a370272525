// The process-wide state the window program works on.
#pragma once

#include "exchange.h"
#include "program_state.h"
#include "serial_port_qt.h"

#include <memory>

namespace vkt {

struct AppSession {
    ProgramState state;  // record, adjustment, band limits, identity, image
    PortSelection ports; // Port, AutoSeachPort and the last scan
    std::unique_ptr<QtSerialLine> line; // numbered ports 1..30

    AppSession() : line(std::make_unique<QtSerialLine>(PortMap::FromSystem())) {}
};

} // namespace vkt
