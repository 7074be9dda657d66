// fake_driver.h - a recording stand-in for the cbw32 driver operations.
//
// Every operation appends a line such as "cbWritePort(0,10,65535)" to the
// log and answers through a replaceable handler; the default handlers
// succeed and write the values set in the fields below.
#ifndef DAQGATE_TESTS_FAKE_DRIVER_H
#define DAQGATE_TESTS_FAKE_DRIVER_H

#include <functional>
#include <string>
#include <vector>

#include "cbw32.h"

namespace fake {

struct Driver {
    std::vector<std::string> log;

    std::function<int(int board, int port, unsigned short *value)> read_port;
    std::function<int(int board, int port, unsigned short value)> write_port;
    std::function<int(int board, int port, int direction)> set_port_direction;
    std::function<int(int code, char *text)> error_text;
    std::function<int(int board, char *name)> board_label;

    // Back to the defaults: empty log, every operation succeeds.
    void reset();
    // The log lines naming the operation op, in order.
    std::vector<std::string> calls(const std::string &op) const;
};

extern Driver driver;

}  // namespace fake

#endif
