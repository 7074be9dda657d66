// boards.h - the boards of the simulated rig: one row each, from which the
// rig's layout, the driver's limits and its messages are made.
#ifndef DAQGATE_SIM_BOARDS_H
#define DAQGATE_SIM_BOARDS_H

namespace daqgate::sim {

struct BoardModel {
    const char *name;  // at most 27 characters: cbBoardLabel's buffer
    int ports;         // digital ports of 16 lines
    int inputs;        // analog inputs
    int outputs;       // analog outputs
    int queue;         // entries of the channel/gain queue
};

// The rig: two pairs of boards wired face to face (see Rig::reset).  A
// row more is a board more; the rig file's layout changes with it.
inline constexpr BoardModel kBoardTable[] = {
    {"daqgate simulated board 0", 32, 16, 2, 64},
    {"daqgate simulated board 1", 32, 16, 2, 64},
    {"daqgate simulated board 2", 32, 16, 2, 64},
    {"daqgate simulated board 3", 32, 16, 2, 64},
};

constexpr int kBoards = static_cast<int>(sizeof kBoardTable / sizeof *kBoardTable);
constexpr int kPorts = kBoardTable[0].ports;
constexpr int kAnalogInputs = kBoardTable[0].inputs;
constexpr int kAnalogOutputs = kBoardTable[0].outputs;
constexpr int kQueueLength = kBoardTable[0].queue;
constexpr int kPortCount = kBoards * kPorts;

// The layout keeps every board alike.
constexpr bool boards_alike()
{
    for (const BoardModel &board : kBoardTable)
        if (board.ports != kPorts || board.inputs != kAnalogInputs || board.outputs != kAnalogOutputs ||
            board.queue != kQueueLength)
            return false;
    return true;
}
static_assert(boards_alike(), "the rig's layout holds boards of one size");
static_assert(kBoards % 2 == 0, "the boards are wired in pairs");

}  // namespace daqgate::sim

#endif
