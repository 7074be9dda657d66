// fake_driver.h - a recording stand-in for the cbw32 driver operations.
//
// Every operation appends a line such as "cbWritePort(0,10,65535)" to the
// log and answers through a replaceable handler; the default handlers
// succeed and write the values set in the fields below.
#ifndef DAQGATE_TESTS_FAKE_DRIVER_H
#define DAQGATE_TESTS_FAKE_DRIVER_H

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cbw32.h"

// On Windows the fake is a DLL of the driver's name, which the gateways'
// DLLs import; the test programs reach its state from there.
#if defined(_WIN32) && defined(DAQGATE_BUILDING_FAKE)
#  define FAKE_API __declspec(dllexport)
#elif defined(_WIN32)
#  define FAKE_API __declspec(dllimport)
#else
#  define FAKE_API
#endif

namespace fake {

struct FAKE_API Driver {
    std::vector<std::string> log;

    // A handler per operation of the table (cbw32_ops.h), by its C++ name:
    // read_port, write_port, ...
#define CBW32_OP(name, ident, stack, returns, parameters) std::function<returns parameters> ident;
#include "cbw32_ops.h"

    // Buffers of the default handlers: handle -> samples.  The default
    // scan writes samples i*7 mod 65536 and halves the rate; the default
    // conversion gives volts = count / 1000 + range.
    std::map<DaqHandle, std::vector<unsigned short>> buffers;

    // Back to the defaults: empty log, every operation succeeds.
    void reset();
    // The log lines naming the operation op, in order.
    std::vector<std::string> calls(const std::string &op) const;
};

extern FAKE_API Driver driver;

}  // namespace fake

#endif
