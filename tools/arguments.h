// arguments.h - the words of simboard's command line that CLI11 takes as
// text: each read whole, or refused with a CLI::ValidationError that
// names the word and says what it should be.
#ifndef DAQGATE_TOOLS_ARGUMENTS_H
#define DAQGATE_TOOLS_ARGUMENTS_H

#include <string>
#include <vector>

#include "rig.h"

namespace daqgate::tools {

// "B.P" names port P of board B.
sim::PortId parse_port(const std::string &text);

// Ports as B.P[,B.P...], each once.
std::vector<sim::PortId> parse_ports(const std::string &text);

// A number, whole; `what` names the word in the refusal.
double parse_number(const std::string &text, const char *what);

// An integer, whole, from least to most.
long long parse_integer(const std::string &text, const char *what, long long least, long long most);

// A number of seconds: finite, positive (or 0 where zero is allowed), at
// most a day.
double parse_seconds(const std::string &text, const char *what, bool zero);

// C escapes in a text: \n \r \t \\ and \xHH.
std::string unescape(const std::string &text);

}  // namespace daqgate::tools

#endif
