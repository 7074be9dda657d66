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
    read_port = [](int, int, unsigned short *value) {
        *value = 0;
        return 0;
    };
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
    read_analog = [](int, int, int, unsigned short *value) {
        *value = 1234;
        return 0;
    };
    write_analog = [](int, int, int, unsigned short) { return 0; };
    to_eng_units = [](int, int range, unsigned short count, float *volts) {
        *volts = static_cast<float>(count / 1000.0 + range);
        return 0;
    };
    from_eng_units = [](int, int, float volts, unsigned short *count) {
        const double scaled = volts * 1000.0;
        *count = scaled >= 0 && scaled <= 65535 ? static_cast<unsigned short>(scaled) : 65535;
        return 0;
    };
    set_gain_queue = [](int, const short *, const short *, int) { return 0; };
    buffers.clear();
    new_sample_buffer = [this](int count) {
        const auto handle = static_cast<DaqHandle>(0x1000 + 0x100 * static_cast<DaqHandle>(buffers.size()));
        buffers[handle].assign(static_cast<size_t>(count), 0);
        return handle;
    };
    read_analog_scan = [this](int, int, int, int count, int *rate, int, DaqHandle handle, int) {
        auto &samples = buffers.at(handle);
        for (int i = 0; i < count; ++i)
            samples.at(static_cast<size_t>(i)) = static_cast<unsigned short>(i * 7);
        *rate /= 2;
        return 0;
    };
    win_buf_to_array = [this](DaqHandle handle, unsigned short *out, int first, int count) {
        const auto &samples = buffers.at(handle);
        for (int i = 0; i < count; ++i)
            out[i] = samples.at(static_cast<size_t>(first + i));
        return 0;
    };
    get_io_status = [](int, short *state, int *count, int *index, int) {
        *state = 0;
        *count = 0;
        *index = 0;
        return 0;
    };
    stop_io_background = [](int, int) { return 0; };
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

int CBWINAPI cbReadAnalog(int board, int channel, int range, unsigned short *value)
{
    record("cbReadAnalog", board, channel, range);
    return driver.read_analog(board, channel, range, value);
}

int CBWINAPI cbWriteAnalog(int board, int channel, int range, unsigned short value)
{
    record("cbWriteAnalog", board, channel, range, value);
    return driver.write_analog(board, channel, range, value);
}

int CBWINAPI cbToEngUnits(int board, int range, unsigned short count, float *volts)
{
    record("cbToEngUnits", board, range, count);
    return driver.to_eng_units(board, range, count, volts);
}

int CBWINAPI cbFromEngUnits(int board, int range, float volts, unsigned short *count)
{
    // Volts logged with every digit a float carries.
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", volts);
    driver.log.push_back("cbFromEngUnits(" + std::to_string(board) + "," + std::to_string(range) + "," +
                         text + ")");
    return driver.from_eng_units(board, range, volts, count);
}

int CBWINAPI cbSetGainQueue(int board, const short *channels, const short *ranges, int count)
{
    record("cbSetGainQueue", board, count);
    return driver.set_gain_queue(board, channels, ranges, count);
}

int CBWINAPI cbReadAnalogScan(int board, int low, int high, int count, int *rate, int range, DaqHandle handle,
                              int options)
{
    record("cbReadAnalogScan", board, low, high, count, *rate, range, handle, options);
    return driver.read_analog_scan(board, low, high, count, rate, range, handle, options);
}

DaqHandle CBWINAPI cbNewSampleBuffer(int count)
{
    record("cbNewSampleBuffer", count);
    return driver.new_sample_buffer(count);
}

int CBWINAPI cbWinBufToArray(DaqHandle handle, unsigned short *out, int first, int count)
{
    record("cbWinBufToArray", handle, first, count);
    return driver.win_buf_to_array(handle, out, first, count);
}

int CBWINAPI cbGetIOStatus(int board, short *state, int *count, int *index, int function)
{
    record("cbGetIOStatus", board, function);
    return driver.get_io_status(board, state, count, index, function);
}

int CBWINAPI cbStopIOBackground(int board, int function)
{
    record("cbStopIOBackground", board, function);
    return driver.stop_io_background(board, function);
}

}  // extern "C"
