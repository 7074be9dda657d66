// arguments.cpp - the words of simboard's command line, read whole.
#include "arguments.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include <CLI/CLI.hpp>

using namespace daqgate::sim;

namespace daqgate::tools {

// "B.P" names port P of board B.
PortId parse_port(const std::string &text)
{
    PortId id{-1, -1};
    std::size_t used = 0;
    const std::size_t dot = text.find('.');
    try {
        if (dot == std::string::npos)
            throw std::invalid_argument(text);
        id.board = std::stoi(text.substr(0, dot), &used);
        if (used != dot)
            throw std::invalid_argument(text);
        const std::string port = text.substr(dot + 1);
        id.port = std::stoi(port, &used);
        if (used != port.size())
            throw std::invalid_argument(text);
    } catch (const std::logic_error &) {
        throw CLI::ValidationError("port", "'" + text + "' is not BOARD.PORT, e.g. 0.10");
    }
    if (!Rig::valid(id))
        throw CLI::ValidationError("port", "'" + text + "' names no port: boards 0-" +
                                               std::to_string(kBoards - 1) + ", ports 0-" +
                                               std::to_string(kPorts - 1));
    return id;
}

// Ports as B.P[,B.P...], each once.
std::vector<PortId> parse_ports(const std::string &text)
{
    std::vector<PortId> ports;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = text.find(',', from);
        const PortId id =
            parse_port(text.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
        for (const PortId &other : ports)
            if (other.index() == id.index())
                throw CLI::ValidationError("PORTS", "port " + std::to_string(id.board) + "." +
                                                        std::to_string(id.port) + " is named twice");
        ports.push_back(id);
        if (comma == std::string::npos)
            return ports;
        from = comma + 1;
    }
}

// A number given on the command line, whole.
double parse_number(const std::string &text, const char *what)
{
    const char *begin = text.c_str();
    char *end = nullptr;
    const double number = std::strtod(begin, &end);
    if (end == begin || *end != '\0')
        throw CLI::ValidationError(what, "'" + text + "' is not a number");
    return number;
}

// An integer given on the command line, whole, from least to most.
long long parse_integer(const std::string &text, const char *what, long long least, long long most)
{
    const char *begin = text.c_str();
    char *end = nullptr;
    errno = 0;
    const long long number = std::strtoll(begin, &end, 10);
    if (end == begin || *end != '\0' || errno == ERANGE)
        throw CLI::ValidationError(what, "'" + text + "' is not a whole number");
    if (number < least || number > most)
        throw CLI::ValidationError(
            what, "'" + text + "' is not " + std::to_string(least) + " to " + std::to_string(most));
    return number;
}

// A number of seconds given on the command line: finite, positive (or 0
// where zero is allowed), at most a day.
double parse_seconds(const std::string &text, const char *what, bool zero)
{
    const double seconds = parse_number(text, what);
    if (!(std::isfinite(seconds) && (zero ? seconds >= 0 : seconds > 0) && seconds <= 86400))
        throw CLI::ValidationError(what, "'" + text + "' is not " +
                                             (zero ? "0" : "a positive number of seconds") +
                                             (zero ? " to 86400 seconds" : " up to 86400"));
    return seconds;
}

// C escapes in a text given on the command line: \n \r \t \\ and \xHH.
std::string unescape(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char code = text[++i];
        switch (code) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'x':
            if (i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
                std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
                out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
                i += 2;
                break;
            }
            throw CLI::ValidationError("TEXT", "\\x takes two hexadecimal digits");
        default: out += code; break;
        }
    }
    return out;
}

}  // namespace daqgate::tools
