// capture_options.h - the words of 'simboard capture' and the capture's
// settings made from them, each word checked.
#ifndef DAQGATE_TOOLS_CAPTURE_OPTIONS_H
#define DAQGATE_TOOLS_CAPTURE_OPTIONS_H

#include <string>

#include <CLI/CLI.hpp>

#include "capture.h"

namespace daqgate::tools {

// The capture command's words, as given.
struct CaptureRequest {
    std::string ports, out, seconds, rate, trigger, pre, wait;
    std::string bits;  // '*' for all 16 wires of each port, or per-port lists
    std::string link;
    bool no_views = false;
};

// The command's arguments and options, read into request.
void add_capture_options(CLI::App &command, CaptureRequest &request);

// The capture's settings from its words; a word it cannot take refused
// with a CLI::ValidationError.
CaptureSettings capture_settings(const CaptureRequest &request);

// B.P=VALUE, or B.P:rise, B.P:fall, B.P:change, on one of the captured ports.
Trigger parse_trigger(const std::string &text, const std::vector<sim::PortId> &ports);

}  // namespace daqgate::tools

#endif
