// faults.h - a board's trouble on demand: faults and a board's pace.
//
// simboard arms faults and sets latencies in the rig; every process's
// driver calls meet them at their entry points (api.cpp), before the
// operation acts.  A board with neither costs its calls one atomic load.
#ifndef DAQGATE_SIM_FAULTS_H
#define DAQGATE_SIM_FAULTS_H

#include <cstddef>
#include <cstdint>

namespace daqgate::sim {

// The driver operations that take a board, which faults and latency act
// on: those of the table (cbw32_ops.h) that take one, in its order.
enum class Operation : int32_t {
#define CBW32_BOARD_OP(name, ident, stack, returns, parameters, reach) ident,
#include "cbw32_ops.h"
};

// What a fault may be limited to: the port or the channel a call names.
enum class Target : int32_t { none = 0, port = 1, channel = 2 };

struct OperationInfo {
    Operation operation;
    const char *name;  // the entry point's name
    Target target;     // what --port or --channel limits, none for neither
    // Whether the board's latency paces it.  The conversions between counts
    // and volts are the driver's arithmetic, no board is asked: paced, a
    // fetch that converts each sample would wait a latency per sample.
    bool paced;
};

const OperationInfo *operation_info(Operation operation);
const OperationInfo *operation_named(const char *name);
const OperationInfo *operations(std::size_t *count);

// Faults the rig holds at once.
constexpr int kFaults = 16;
// The longest latency, in microseconds.
constexpr uint32_t kMaxLatencyMicros = 1000000;

// A fault as simboard arms it: calls of operation on board (limited to
// port or channel `which` when target is not none) return status.  The
// first `after` matching calls pass; then it strikes `times` times, or
// until cleared when times is negative.
struct FaultSpec {
    int board = 0;
    Operation operation = Operation::read_port;
    int status = 0;
    Target target = Target::none;
    int which = 0;
    int64_t after = 0;
    int64_t times = -1;
};

// A fault as the rig holds it, for showing: its spec, the matching calls
// counted so far and its strikes; spent once it struck its times.
struct FaultView {
    FaultSpec spec;
    int64_t seen = 0;
    int64_t struck = 0;
    bool spent = false;
};

}  // namespace daqgate::sim

#endif
