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

namespace daqgate::sim {

constexpr int kBoards = 4;
constexpr int kPorts = 32;
constexpr int kPortCount = kBoards * kPorts;

// Direction codes of cbSetPortDirection.
constexpr int kOutput = 1;
constexpr int kInput = 2;

// Status codes of the simulated driver; texts in status_text().
enum Status : int {
    kNoError = 0,
    kBadBoard = 1,
    kBadPort = 2,
    kBadDirection = 3,
    kNotOutput = 4,
    kRigOpen = 5,
    kRigLayout = 6,
    kAlreadyWired = 7,
    kNotWired = 8,
    kBadChannel = 9,
    kBadRange = 10,
    kBadVoltage = 11,
    kBadCount = 12,
    kBadRate = 13,
    kBadHandle = 14,
    kBadOptions = 15,
    kBadFunction = 16,
    kBusy = 17,
};

// The text of a status code; an unknown code gets a text saying so.
// Writes at most size bytes, terminator included.
void status_text(int code, char *text, std::size_t size);

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
struct RigLayout {
    char magic[8];
    uint32_t version;
    uint32_t size;
    BoardState boards[kBoards];
};

constexpr char kMagic[8] = {'D', 'A', 'Q', 'G', 'R', 'I', 'G', '\0'};
constexpr uint32_t kVersion = 2;

static_assert(std::atomic<uint16_t>::is_always_lock_free &&
                  std::atomic<uint8_t>::is_always_lock_free &&
                  std::atomic<int16_t>::is_always_lock_free &&
                  std::atomic<double>::is_always_lock_free,
              "rig state must be lock-free to be shared between processes");

// The rig file of this process: $DAQGATE_RIG, or a per-user file in /dev/shm.
std::string default_rig_path();

// A mapped rig file.
class Rig {
public:
    // Opens the rig file at path, creating and initialising it when it is
    // missing or empty.  Returns kNoError, kRigOpen (cannot open, create or
    // map it) or kRigLayout (a file of another layout or version, which is
    // left as it is).  With recreate, a file of another layout is
    // initialised afresh instead of refused.
    Status open(const std::string &path, bool recreate = false);
    ~Rig();

    bool is_open() const { return layout_ != nullptr; }
    const std::string &path() const { return path_; }

    // Power-up state: every port an input with latch 0, default wiring
    // (board 0 to board 1 and board 2 to board 3, port p to port p).
    void reset();

    // Driver operations; board and port numbers are checked here.
    Status read_port(int board, int port, uint16_t *value) const;
    Status write_port(int board, int port, uint16_t value);
    Status set_direction(int board, int port, int direction);

    // Analog front end.  Volts of an output are those of its last count.
    Status read_analog(int board, int channel, int range, uint16_t *counts) const;
    Status write_analog(int board, int channel, int range, uint16_t counts);
    Status set_gain_queue(int board, const short *channels, const short *ranges, int count);
    int gain_queue(int board, short *channels, short *ranges) const;  // entries, copied out
    Status set_signal(int board, int channel, const Signal &signal);
    Signal signal(int board, int channel) const;
    double output_volts(int board, int output) const;
    // The source of a scan of channels low..high starting now; checks the
    // board, channels, range and rate and settles the rate.
    Status begin_scan(int board, int low, int high, int range, int requested_rate, Pace *pace,
                      std::unique_ptr<ScanSource> *source) const;

    // Wiring, for simboard.
    Status wire(PortId a, PortId b);
    Status unwire(PortId a, PortId b);
    // Port at the other end of a's wire, or board -1 when a is not wired.
    PortId peer_of(PortId a) const;
    int direction_of(PortId a) const;

    static bool valid_board(int board) { return board >= 0 && board < kBoards; }
    static bool valid_input(int channel) { return channel >= 0 && channel < kAnalogInputs; }
    static bool valid(PortId id) { return valid_board(id.board) && id.port >= 0 && id.port < kPorts; }

private:
    PortState &state(PortId id) const { return layout_->boards[id.board].ports[id.port]; }
    PortState &state(int index) const { return state(PortId{index / kPorts, index % kPorts}); }
    void initialise();
    void lock() const;
    void unlock() const;

    RigLayout *layout_ = nullptr;
    int fd_ = -1;
    std::string path_;
};

}  // namespace daqgate::sim

#endif
