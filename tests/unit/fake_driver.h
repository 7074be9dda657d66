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

    std::function<int(int board, int port, unsigned short *value)> read_port;
    std::function<int(int board, int port, unsigned short value)> write_port;
    std::function<int(int board, int port, int direction)> set_port_direction;
    std::function<int(int code, char *text)> error_text;
    std::function<int(int board, char *name)> board_label;
    std::function<int(int board, int channel, int range, unsigned short *value)> read_analog;
    std::function<int(int board, int channel, int range, unsigned short value)> write_analog;
    std::function<int(int board, int range, unsigned short count, float *volts)> to_eng_units;
    std::function<int(int board, int range, float volts, unsigned short *count)> from_eng_units;
    std::function<int(int board, const short *channels, const short *ranges, int count)> set_gain_queue;
    std::function<int(int board, int low, int high, int count, int *rate, int range, DaqHandle handle,
                      int options)>
        read_analog_scan;
    std::function<DaqHandle(int count)> new_sample_buffer;
    std::function<int(DaqHandle handle, unsigned short *out, int first, int count)> win_buf_to_array;
    std::function<int(int board, short *state, int *count, int *index, int function)> get_io_status;
    std::function<int(int board, int function)> stop_io_background;

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
