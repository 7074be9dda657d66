// rig.h - the simulated boards, kept in a shared-memory file so that every
// process that opens the same file sees the same lines.
//
// The file holds a header and the state of the boards, all of it plain
// lock-free atomics: a port operation is one or two atomic loads or one
// atomic store, with no system call and no lock.  Opening and initialising
// the file, and changing the wiring, take an advisory lock on the file.
#ifndef DAQGATE_SIM_RIG_H
#define DAQGATE_SIM_RIG_H

#include <atomic>
#include <cstdint>
#include <cstddef>
#include <memory>
#include <string>

#include "analog.h"
#include "cbw32.h"
#include "rigfile.h"
#include "status.h"

namespace daqgate::sim {

// Direction codes of cbSetPortDirection.
constexpr int kOutput = CB_DIGITAL_OUT;
constexpr int kInput = CB_DIGITAL_IN;

// The name of a valid board, at most 27 characters; writes at most size
// bytes, terminator included.
void board_name(int board, char *name, std::size_t size);

// A port names one of the kPortCount ports of the rig.
struct PortId {
    int board;
    int port;
    int index() const { return board * kPorts + port; }
};

struct PortState {
    std::atomic<uint16_t> latch;
    std::atomic<uint8_t> direction;
    // Index of the port at the other end of this port's wire, -1 if none.
    std::atomic<int16_t> peer;
};

// An input's signal, written by one process (simboard) while scans in
// others read it: a sequence count, odd while a write is under way, lets a
// reader retry instead of taking half of an old and half of a new signal.
struct SignalState {
    std::atomic<uint32_t> sequence;
    std::atomic<uint32_t> kind;
    std::atomic<double> amplitude;
    std::atomic<double> frequency;
    std::atomic<double> offset;
};

struct QueueState {
    std::atomic<int32_t> length;
    std::atomic<int16_t> channel[kQueueLength];
    std::atomic<int16_t> range[kQueueLength];
};

struct BoardState {
    PortState ports[kPorts];
    std::atomic<double> output_volts[kAnalogOutputs];
    SignalState signals[kAnalogInputs];
    QueueState queue;
};

// The layout of the rig file.  Any change to it must change kVersion.
// Every value in it may have been written by any process, or scribbled
// over: whatever is read from it is checked before it is used.
struct RigLayout {
    char magic[8];
    uint32_t version;
    uint32_t size;
    // Made afresh each time the file is initialised: a process that lost
    // its rig takes the file back once it holds a rig made anew.
    uint64_t nonce;
    BoardState boards[kBoards];
};

constexpr char kMagic[8] = {'D', 'A', 'Q', 'G', 'R', 'I', 'G', '\0'};
constexpr uint32_t kVersion = 3;

static_assert(std::atomic<uint16_t>::is_always_lock_free && std::atomic<uint8_t>::is_always_lock_free &&
                  std::atomic<int16_t>::is_always_lock_free && std::atomic<double>::is_always_lock_free,
              "rig state must be lock-free to be shared between processes");

// A mapped rig file.  Move-only: it owns the file and its mapping.
class Rig {
public:
    // Opens the rig file at path, creating and initialising it when it is
    // missing or empty.  Returns kNoError, kRigOpen (cannot open, create or
    // map it), kRigLocked (another process holds its lock) or kRigLayout
    // (a file of another layout or version, which is left as it is).  With
    // recreate, a file of another layout is initialised afresh instead of
    // refused.  A rig already open is closed first.
    Status open(const std::string &path, bool recreate = false);

    bool is_open() const { return layout_ != nullptr; }

    // Whether the rig was lost (its file shrank, vanished or was replaced
    // under its name); check() looks, off the fast path; renew() takes the
    // file back once it holds a rig made anew.
    bool lost() const { return file_.lost(); }
    bool check();
    bool renew();

    // Power-up state: every port an input with latch 0, default wiring
    // (board 0 to board 1 and board 2 to board 3, port p to port p).
    void reset();

    // Driver operations; board and port numbers are checked here, and so
    // is what they find in the rig (kRigCorrupt).
    Status read_port(int board, int port, uint16_t *value) const;
    Status write_port(int board, int port, uint16_t value);
    Status set_direction(int board, int port, int direction);

    // Analog front end.  Volts of an output are those of its last count.
    Status read_analog(int board, int channel, int range, uint16_t *counts) const;
    Status write_analog(int board, int channel, int range, uint16_t counts);
    Status set_gain_queue(int board, const short *channels, const short *ranges, int count);
    // The queue's entries, copied out; kRigCorrupt for a length out of range
    // (*count then holds it).
    Status gain_queue(int board, short *channels, short *ranges, int *count) const;
    Status set_signal(int board, int channel, const Signal &signal);
    Status signal(int board, int channel, Signal *signal) const;
    Status output_volts(int board, int output, double *volts) const;
    // The source of a scan of channels low..high starting now; checks the
    // board, channels, range and rate and settles the rate.
    Status begin_scan(int board, int low, int high, int range, int requested_rate, Pace *pace,
                      std::unique_ptr<ScanSource> *source) const;

    // Wiring, for simboard.
    Status wire(PortId a, PortId b);
    Status unwire(PortId a, PortId b);
    // Port at the other end of a's wire, board -1 when a is not wired;
    // kRigCorrupt for an end that names no port (b->port then holds it).
    Status peer_of(PortId a, PortId *b) const;
    // The direction code as the rig holds it: kOutput, kInput, or anything
    // a scribbler left.
    int direction_of(PortId a) const;

    static bool valid_board(int board) { return board >= 0 && board < kBoards; }
    static bool valid_input(int channel) { return channel >= 0 && channel < kAnalogInputs; }
    static bool valid(PortId id) { return valid_board(id.board) && id.port >= 0 && id.port < kPorts; }

private:
    PortState &state(PortId id) const { return layout_->boards[id.board].ports[id.port]; }
    PortState &state(int index) const { return state(PortId{index / kPorts, index % kPorts}); }
    // What a port shows: its latch, or for an input what drives its wire.
    Status driven(PortId id, uint16_t *value) const;
    // Under the file's lock: sizes, maps and checks or initialises it.
    Status prepare(RigFile &file, bool recreate);
    void initialise(RigLayout *layout);

    RigFile file_;
    RigLayout *layout_ = nullptr;
    uint64_t nonce_ = 0;  // of the rig this process attached to
};

}  // namespace daqgate::sim

#endif
