// fake_driver.cpp - the operations behind the cbw32 declarations for the
// unit tests.
#include "fake_driver.h"

#include <cstdio>
#include <cstring>

namespace fake {

Driver driver;

namespace {

template <typename... Args>
void record(const char *op, Args... args)
{
    std::string line = op;
    line += '(';
    const char *sep = "";
    ((line += sep, line += std::to_string(args), sep = ","), ...);
    line += ')';
    driver.log.push_back(line);
}

}  // namespace

void Driver::reset()
{
    log.clear();
    read_port = [](int, int, unsigned short *value) { *value = 0; return 0; };
    write_port = [](int, int, unsigned short) { return 0; };
    set_port_direction = [](int, int, int) { return 0; };
    error_text = [](int code, char *text) {
        std::snprintf(text, CB_ERRSTRLEN, "fake text %d", code);
        return 0;
    };
    board_label = [](int board, char *name) {
        std::snprintf(name, CB_BOARDNAMELEN, "fake board %d", board);
        return 0;
    };
}

std::vector<std::string> Driver::calls(const std::string &op) const
{
    std::vector<std::string> lines;
    for (const std::string &line : log)
        if (line.compare(0, op.size() + 1, op + "(") == 0)
            lines.push_back(line);
    return lines;
}

}  // namespace fake

using fake::driver;
using fake::record;

extern "C" {

int CBWINAPI cbReadPort(int board, int port, unsigned short *value)
{
    record("cbReadPort", board, port);
    return driver.read_port(board, port, value);
}

int CBWINAPI cbWritePort(int board, int port, unsigned short value)
{
    record("cbWritePort", board, port, value);
    return driver.write_port(board, port, value);
}

int CBWINAPI cbSetPortDirection(int board, int port, int direction)
{
    record("cbSetPortDirection", board, port, direction);
    return driver.set_port_direction(board, port, direction);
}

int CBWINAPI cbErrorText(int code, char *text)
{
    record("cbErrorText", code);
    return driver.error_text(code, text);
}

int CBWINAPI cbBoardLabel(int board, char *name)
{
    record("cbBoardLabel", board);
    return driver.board_label(board, name);
}

}  // extern "C"
