// api.cpp - the driver operations of the simulated board: the C entry
// points the gateways call, glue to the rig (attach.h) and to this
// process's buffers and scans.
#include "cbw32.h"

#include <chrono>
#include <cstring>
#include <type_traits>

#include "attach.h"
#include "background.h"
#include "buffers.h"
#include "clock.h"
#include "rig.h"

namespace daqgate::sim {
namespace {

BufferTable buffers;
BackgroundScans scans;

// What a call on one port or channel touches, for a fault to look at.
Touched touching(int which)
{
    return Touched{which, which, nullptr, 0};
}

// The bytes a parameter takes on 32-bit Windows' stack: a word at the
// least, and a pointer or a handle one word there.
template <typename T>
constexpr int stack_word_bytes()
{
    if constexpr (std::is_pointer_v<T> || std::is_same_v<T, DaqHandle>)
        return 4;
    else
        return static_cast<int>((sizeof(T) + 3) / 4 * 4);
}

template <typename F>
struct StackBytes;
template <typename R, typename... Parameters>
struct StackBytes<R(Parameters...)> {
    static constexpr int value = (0 + ... + stack_word_bytes<Parameters>());
};

// The table's stack bytes are the stdcall decoration of the 32-bit import
// library's names: a wrong one would leave a gateway's call unresolved.
#define CBW32_OP(name, ident, stack, returns, parameters)   \
  static_assert(StackBytes<void parameters>::value == stack, \
                "cbw32_ops.h: the stack bytes of " #name " are not those of its parameters");
#include "cbw32_ops.h"

}  // namespace
}  // namespace daqgate::sim

using namespace daqgate::sim;

extern "C" {

// Each operation that takes a board meets its faults and latency first: a fault that
// strikes gives its status, never kNoError (0), which the operation
// returns having done nothing at all.
static_assert(kNoError == 0);

CBW_EXPORT int CBWINAPI cbReadPort(int board, int port, unsigned short *value)
{
    if (const int struck = meet_faults(board, Operation::read_port, [=] { return touching(port); }))
        return struck;
    return on_rig([&](Rig &r) { return r.read_port(board, port, value); });
}

CBW_EXPORT int CBWINAPI cbWritePort(int board, int port, unsigned short value)
{
    if (const int struck = meet_faults(board, Operation::write_port, [=] { return touching(port); }))
        return struck;
    return on_rig([&](Rig &r) { return r.write_port(board, port, value); });
}

CBW_EXPORT int CBWINAPI cbSetPortDirection(int board, int port, int direction)
{
    if (const int struck = meet_faults(board, Operation::set_port_direction, [=] { return touching(port); }))
        return struck;
    return on_rig([&](Rig &r) { return r.set_direction(board, port, direction); });
}

CBW_EXPORT int CBWINAPI cbErrorText(int code, char *text)
{
    status_text(code, text, CB_ERRSTRLEN);
    return kNoError;
}

CBW_EXPORT int CBWINAPI cbBoardLabel(int board, char *name)
{
    if (const int struck = meet_faults(board, Operation::board_label, [] { return Touched{}; }))
        return struck;
    const int status = on_rig([&](Rig &) {
        if (!Rig::valid_board(board))
            return kBadBoard;
        board_name(board, name, CB_BOARDNAMELEN);
        return kNoError;
    });
    if (status != kNoError)
        name[0] = '\0';  // a failed call names no board
    return status;
}

CBW_EXPORT int CBWINAPI cbReadAnalog(int board, int channel, int range, unsigned short *value)
{
    if (const int struck = meet_faults(board, Operation::read_analog, [=] { return touching(channel); }))
        return struck;
    return on_rig([&](Rig &r) { return r.read_analog(board, channel, range, value); });
}

CBW_EXPORT int CBWINAPI cbWriteAnalog(int board, int channel, int range, unsigned short value)
{
    if (const int struck = meet_faults(board, Operation::write_analog, [=] { return touching(channel); }))
        return struck;
    return on_rig([&](Rig &r) { return r.write_analog(board, channel, range, value); });
}

CBW_EXPORT int CBWINAPI cbToEngUnits(int board, int range, unsigned short count, float *volts)
{
    if (const int struck = meet_faults(board, Operation::to_eng_units, [] { return Touched{}; }))
        return struck;
    Range span{};
    if (!Rig::valid_board(board))
        return kBadBoard;
    if (!find_range(range, &span))
        return kBadRange;
    *volts = static_cast<float>(counts_to_volts(span, count));
    return kNoError;
}

CBW_EXPORT int CBWINAPI cbFromEngUnits(int board, int range, float volts, unsigned short *count)
{
    if (const int struck = meet_faults(board, Operation::from_eng_units, [] { return Touched{}; }))
        return struck;
    Range span{};
    if (!Rig::valid_board(board))
        return kBadBoard;
    if (!find_range(range, &span))
        return kBadRange;
    return volts_to_counts(span, volts, count) ? kNoError : kBadVoltage;
}

CBW_EXPORT int CBWINAPI cbSetGainQueue(int board, const short *channels, const short *ranges, int count)
{
    // Only a queue the board can take names channels a fault looks at.
    const bool whole = Rig::valid_board(board) && count >= 0 && count <= kBoardTable[board].queue;
    const auto queued = [=] { return Touched{0, -1, whole ? channels : nullptr, whole ? count : 0}; };
    if (const int struck = meet_faults(board, Operation::set_gain_queue, queued))
        return struck;
    return on_rig([&](Rig &r) { return r.set_gain_queue(board, channels, ranges, count); });
}

CBW_EXPORT DaqHandle CBWINAPI cbNewSampleBuffer(int count)
{
    return buffers.allocate(count);
}

CBW_EXPORT int CBWINAPI cbWinBufToArray(DaqHandle handle, unsigned short *out, int first, int count)
{
    const SampleBuffer *buffer = buffers.find(handle);
    if (buffer == nullptr)
        return kBadHandle;
    scans.catch_up(buffer);  // a running scan writes on while its ring is read
    if (first < 0 || count < 0 || static_cast<int64_t>(first) + count > buffer->size)
        return kBadCount;
    std::memcpy(out, buffer->samples + first, static_cast<size_t>(count) * sizeof *out);
    return kNoError;
}

CBW_EXPORT int CBWINAPI cbReadAnalogScan(int board, int low, int high, int count, int *rate, int range,
                                         DaqHandle handle, int options)
{
    const auto scanned = [=] { return Touched{low, high, nullptr, 0}; };
    if (const int struck = meet_faults(board, Operation::read_analog_scan, scanned))
        return struck;
    return on_rig([&](Rig &r) -> int {
        const SampleBuffer *buffer = buffers.find(handle);
        Pace pace{};
        std::unique_ptr<ScanSource> source;
        if (options != CB_FOREGROUND && options != CB_BACKGROUND)
            return kBadOptions;
        if (const Status checked = r.begin_scan(board, low, high, range, *rate, &pace, &source);
            checked != kNoError)
            return checked;
        if (buffer == nullptr)
            return kBadHandle;
        if (count < 0 || count > buffer->size || (options == CB_BACKGROUND && count == 0))
            return kBadCount;
        if (scans.running(board))
            return kBusy;
        *rate = pace.rate;
        if (options == CB_BACKGROUND)
            return scans.start(board, buffer, count, pace, std::move(source));
        // A foreground scan: the samples, then the time their scans take.
        const auto start = SteadyClock::now();
        source->fill(buffer->samples, 0, count);
        wait_until(start + std::chrono::duration_cast<SteadyClock::duration>(
                               std::chrono::duration<double>(count / pace.aggregate)));
        return kNoError;
    });
}

CBW_EXPORT int CBWINAPI cbGetIOStatus(int board, short *state, int *count, int *index, int function)
{
    if (const int struck = meet_faults(board, Operation::get_io_status, [] { return Touched{}; }))
        return struck;
    if (!Rig::valid_board(board))
        return kBadBoard;
    if (function != CB_AIFUNCTION)
        return kBadFunction;
    return scans.status(board, state, count, index);
}

CBW_EXPORT int CBWINAPI cbStopIOBackground(int board, int function)
{
    if (const int struck = meet_faults(board, Operation::stop_io_background, [] { return Touched{}; }))
        return struck;
    if (!Rig::valid_board(board))
        return kBadBoard;
    if (function != CB_AIFUNCTION)
        return kBadFunction;
    return scans.stop(board);
}

}  // extern "C"
