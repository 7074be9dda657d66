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
#include "faults.h"
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
    // The port of an index, 0 to kPortCount - 1.
    static PortId at(int index) { return PortId{index / kPorts, index % kPorts}; }
};

// A port's direction and wiring, written only when they are set: every
// read of a port reads them, so they keep lines of their own, which no
// write of a latch takes away from a reader's cache.
struct PortState {
    std::atomic<uint8_t> direction;
    // Index of the port at the other end of this port's wire, -1 if none.
    std::atomic<int16_t> peer;
};

constexpr std::size_t kCacheLine = 64;

// The latches of one port number on every board, a power of two of them,
// so that a row lies within one cache line.
constexpr int latch_row(int boards)
{
    int row = 1;
    while (row < boards)
        row *= 2;
    return row;
}
constexpr int kLatchRow = latch_row(kBoards);

// An input's signal, written by one process (simboard) while scans in
// others read it: a sequence count, odd while a write is under way, lets a
// reader retry instead of taking half of an old and half of a new signal.
struct SignalState {
    std::atomic<uint32_t> sequence;
    std::atomic<uint32_t> kind;
    std::atomic<double> parameters[kSignalParameters];
    // A played file: its recording, whether it loops, and when it began.
    std::atomic<int32_t> recording;
    std::atomic<uint32_t> loop;
    std::atomic<double> start;
};

// The channel/gain queue, written by whichever process sets it: writers
// take turns by moving the sequence count from even to odd, and readers
// retry while it is odd or moving, as for a signal.
struct QueueState {
    std::atomic<uint32_t> sequence;
    std::atomic<int32_t> length;
    std::atomic<int16_t> channel[kQueueLength];
    std::atomic<int16_t> range[kQueueLength];
};

struct BoardState {
    PortState ports[kPorts];
    // Changes of each port's latch, counted by its writer (modulo 2^32): a
    // capture tells from them how many changes it may have missed.  On
    // lines of their own, which only the board's writers write.
    alignas(kCacheLine) std::atomic<uint32_t> changes[kPorts];
    alignas(kCacheLine) std::atomic<double> output_volts[kAnalogOutputs];
    SignalState signals[kAnalogInputs];
    QueueState queue;
    // The board's faults and latency, in one word so that a call on a
    // board without them pays one load: the latency in microseconds (low
    // half) and the number of faults armed on it (high half).
    std::atomic<uint64_t> trouble;
};

// A fault armed by simboard.  Written under the rig's lock with a sequence
// count, odd while a write is under way; a driver call that finds it odd
// or moving passes the fault by.  Counters are shared by every process.
struct FaultState {
    std::atomic<uint32_t> sequence;
    std::atomic<uint32_t> state;  // kFaultFree, kFaultArmed or kFaultSpent
    std::atomic<int32_t> board;
    std::atomic<int32_t> operation;
    std::atomic<int32_t> status;
    std::atomic<int32_t> target;
    std::atomic<int32_t> which;
    std::atomic<int64_t> after;
    std::atomic<int64_t> times;   // negative: until cleared
    std::atomic<uint64_t> order;  // when it was armed: the first armed strikes
    std::atomic<int64_t> seen;    // matching calls so far
    std::atomic<int64_t> struck;
};

constexpr uint32_t kFaultFree = 0, kFaultArmed = 1, kFaultSpent = 2;

// Recorded signals played on inputs: kRecordings at once, each of up to
// kRecordingValues volts.
constexpr int kRecordings = 4;
constexpr int kRecordingValues = 1 << 20;
constexpr int kRecordingName = 64;

struct RecordingState {
    // The input playing it (board * kAnalogInputs + channel), -1 for none.
    std::atomic<int32_t> owner;
    std::atomic<int32_t> count;
    std::atomic<char> name[kRecordingName];
    std::atomic<float> volts[kRecordingValues];
};

// The layout of the rig file.  A rig holds its size and version, and a
// process takes only a rig of its own of both; every change of the layout
// moves kVersion on (kLayoutSizes, below, holds the two together).
// Every value in it may have been written by any process, or scribbled
// over: whatever is read from it is checked before it is used.
struct RigLayout {
    char magic[8];
    uint32_t version;
    uint32_t size;
    // Made afresh each time the file is initialised: a process that lost
    // its rig takes the file back once it holds a rig made anew.
    uint64_t nonce;
    // The ports' latches, port by port across the boards: the two ends of
    // a wire (port p of two facing boards) share a cache line, so that a
    // handshake between two processes passes one line to and fro, as two
    // processes sharing three words do, and not two lines.
    alignas(kCacheLine) std::atomic<uint16_t> latches[kPorts][kLatchRow];
    alignas(kCacheLine) BoardState boards[kBoards];
    std::atomic<uint64_t> fault_serial;
    FaultState faults[kFaults];
    // Last, and left out of the initialising wipe: the file's new pages are
    // zero, and whatever a recording holds is only ever played as volts.
    RecordingState recordings[kRecordings];
};

static_assert(kCacheLine % (kLatchRow * sizeof(std::atomic<uint16_t>)) == 0,
              "the latches of one port number on every board lie on one cache line");

constexpr char kMagic[8] = {'D', 'A', 'Q', 'G', 'R', 'I', 'G', '\0'};

// The layout's size at each version, from version 7 on, the last row the
// size of this build's layout; kVersion is the version of the last row.
// A change of the layout's size (a board more, a fifth number for a
// signal kind) fails the assert below until the version moves on with it:
// append a row with the size the compiler reports in the error (its
// sizeof), which makes kVersion one more.  The row before stays as it was:
// it is what an older rig file holds.  A change of meaning at the same
// size (a field that reads otherwise) moves the version on as well: append
// a row of the same size.
constexpr std::size_t kLayoutSizes[] = {
    16784896,  // 7
};
constexpr uint32_t kFirstSizedVersion = 7;
constexpr uint32_t kVersion =
    kFirstSizedVersion + static_cast<uint32_t>(sizeof kLayoutSizes / sizeof *kLayoutSizes) - 1;

template <std::size_t LayoutSize, std::size_t VersionSize>
struct LayoutSizeMatchesVersion {
    static_assert(LayoutSize == VersionSize,
                  "the rig's layout changed size: move kVersion on by appending the layout's new size "
                  "(the first number here) to kLayoutSizes in rig.h");
    static constexpr bool holds = LayoutSize == VersionSize;
};
static_assert(
    LayoutSizeMatchesVersion<sizeof(RigLayout), kLayoutSizes[kVersion - kFirstSizedVersion]>::holds,
    "the rig's layout is the size of its version");

static_assert(std::atomic<uint16_t>::is_always_lock_free && std::atomic<uint8_t>::is_always_lock_free &&
                  std::atomic<int16_t>::is_always_lock_free && std::atomic<double>::is_always_lock_free &&
                  std::atomic<uint64_t>::is_always_lock_free && std::atomic<float>::is_always_lock_free &&
                  std::atomic<char>::is_always_lock_free,
              "rig state must be lock-free to be shared between processes");

// What a driver call names, for the faults limited to a port or channel:
// the span low..high, or the channels of a gain queue.
struct Touched {
    int low = 0;
    int high = -1;
    const short *list = nullptr;
    int count = 0;  // of list; the caller has checked it is 0 to kQueueLength
    bool covers(int which) const
    {
        if (list == nullptr)
            return which >= low && which <= high;
        for (int i = 0; i < count; ++i)
            if (list[i] == which)
                return true;
        return false;
    }
};

// A mapped rig file.  Move-only: it owns the file and its mapping.
class Rig {
public:
    // Opens the rig file at path, creating and initialising it when it is
    // missing or empty, with its whole storage held.  Returns kNoError;
    // kRigOpen (the system refused to open or map it), kRigNotFile,
    // kRigNotOwn (RigFile::open), kRigLocked (another process holds its
    // lock), kRigNoRoom (no storage for a new rig), kRigLayout (a rig of
    // another layout or version, left as it is) or kRigNotRig (a file that
    // holds no rig, left as it is).  With recreate, a rig of another layout
    // is initialised afresh instead of refused; a file that is no rig is
    // refused all the same.  A rig already open is closed first.  problem()
    // tells, in words that name the file, why a rig was refused.
    Status open(const std::string &path, bool recreate = false, RigAccess access = RigAccess::named);
    const std::string &problem() const { return problem_; }

    bool is_open() const { return layout_ != nullptr; }
    const std::string &path() const { return file_.path(); }

    // Whether the rig was lost (its file shrank, vanished or was replaced
    // under its name); look() looks at the file, off the fast path, and
    // finds a loss no fault showed (a header scribbled over is one too);
    // take_back() takes the file back once it holds a rig made anew.
    bool lost() const { return file_.lost(); }
    bool look();
    bool take_back();

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
    // (*count then holds it) or a queue still being written after many tries.
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

    // Faults and latency (faults.cpp).  Faults: kNoError, kBadBoard, kRigFull
    // (every slot armed), or the lock's status.
    Status arm_fault(const FaultSpec &spec);
    // Clears the faults of board, or of every board for -1; how many, or
    // -1 when the rig's lock cannot be had.
    int clear_faults(int board);
    // Slot `slot`'s fault; false when it is free or holds invalid data.
    bool fault(int slot, FaultView *view) const;
    Status set_latency(int board, uint32_t micros);
    uint32_t latency(int board) const;
    // At a driver entry point, before the operation acts: waits the board's
    // latency, then gives the status of a fault that strikes this call, or
    // kNoError for the operation to go on.  Only valid boards have either.
    // What the call names is made only off the fast path, by `touched`.
    template <typename Touches>
    Status meet_faults(int board, Operation operation, Touches touched) const
    {
        if (!valid_board(board))
            return kNoError;
        const uint64_t word = layout_->boards[board].trouble.load(std::memory_order_relaxed);
        return word == 0 ? kNoError : faults_slow(board, operation, touched(), word);
    }

    // Recordings (recordings.cpp).  Plays volts on an input from now on, rate values a second, holding
    // the last value or starting again; kRigFull when every recording is
    // playing elsewhere, kRigNoRoom when the file's storage for the values
    // cannot be had (problem() says how much, where): the input then plays
    // what it played before.
    Status play(int board, int channel, const float *volts, int count, double rate, bool loop,
                const std::string &name);
    // The name of the file a recording was loaded from.
    void recording_name(int recording, char *name, std::size_t size) const;
    // One look at a port for a capture: what it shows, and the index of the
    // port whose latch that is (*source -1 when none drives it).  With
    // changes_at(source), read before and after, a capture tells whether
    // a value it read stood still meanwhile.
    Status shown(PortId id, uint16_t *value, int *source) const;
    // The count of changes of the latch of port index `source`, 0 to
    // kPortCount - 1, modulo 2^32.
    uint32_t changes_at(int source) const
    {
        return changes(PortId::at(source)).load(std::memory_order_acquire);
    }

    // What a board has, from its row of the table.
    static bool valid_board(int board) { return board >= 0 && board < kBoards; }
    static bool valid_input(int board, int channel)
    {
        return valid_board(board) && channel >= 0 && channel < kBoardTable[board].inputs;
    }
    static bool valid_output(int board, int output)
    {
        return valid_board(board) && output >= 0 && output < kBoardTable[board].outputs;
    }
    static bool valid(PortId id)
    {
        return valid_board(id.board) && id.port >= 0 && id.port < kBoardTable[id.board].ports;
    }

private:
    PortState &state(PortId id) const { return layout_->boards[id.board].ports[id.port]; }
    PortState &state(int index) const { return state(PortId::at(index)); }
    std::atomic<uint16_t> &latch(PortId id) const { return layout_->latches[id.port][id.board]; }
    std::atomic<uint32_t> &changes(PortId id) const { return layout_->boards[id.board].changes[id.port]; }
    // The port whose latch a port shows: itself as an output, the output at
    // the other end of its wire as an input; *has_source false when none
    // drives it (an unwired input, or one wired to another input);
    // kRigCorrupt for what a scribbler left.
    Status source_of(PortId id, PortId *source, bool *has_source) const;
    // What a port shows: its latch, or for an input what drives its wire.
    Status driven(PortId id, uint16_t *value) const;
    // Under the file's lock: sizes, maps and checks or initialises it.
    Status prepare(RigFile &file, bool recreate);
    void initialise(RigLayout *layout);
    Status faults_slow(int board, Operation operation, const Touched &touched, uint64_t word) const;
    Status strike(int board, Operation operation, const Touched &touched) const;
    void release_recording(int board, int channel);

    // Sets problem_ to "no room for WHAT: N needed in FOLDER (REASON)".
    Status no_room(Status status, const char *what, std::size_t bytes, const RigFile &file);

    RigFile file_;
    std::string problem_;
    RigLayout *layout_ = nullptr;
    uint64_t nonce_ = 0;  // of the rig this process attached to
};

}  // namespace daqgate::sim

#endif
