// boards.h - the boards of the simulated rig: one row each, read through
// the board at run time.  The rig's layout is sized from the table's
// largest board, the driver's limits and its wiring at power-up come from
// each board's own row.
#ifndef DAQGATE_SIM_BOARDS_H
#define DAQGATE_SIM_BOARDS_H

namespace daqgate::sim {

struct BoardModel {
    const char *name;  // at most 27 characters: cbBoardLabel's buffer
    int ports;         // digital ports of 16 lines
    int inputs;        // analog inputs
    int outputs;       // analog outputs
    int queue;         // entries of the channel/gain queue
    // The board whose ports this one's face at power-up, port p to port p
    // (as far as both have ports); -1 for none.  Partners name each other.
    int partner;
};

// The rig: two pairs of boards wired face to face.  A row more is a board
// more; the rig file's layout changes with it.
inline constexpr BoardModel kBoardTable[] = {
    {"daqgate simulated board 0", 32, 16, 2, 64, 1},
    {"daqgate simulated board 1", 32, 16, 2, 64, 0},
    {"daqgate simulated board 2", 32, 16, 2, 64, 3},
    {"daqgate simulated board 3", 32, 16, 2, 64, 2},
};

constexpr int kBoards = static_cast<int>(sizeof kBoardTable / sizeof *kBoardTable);

// The largest of a column: what the rig's layout holds for every board.
constexpr int most(int BoardModel::*column)
{
    int largest = 0;
    for (const BoardModel &board : kBoardTable)
        largest = board.*column > largest ? board.*column : largest;
    return largest;
}
constexpr int kPorts = most(&BoardModel::ports);
constexpr int kAnalogInputs = most(&BoardModel::inputs);
constexpr int kAnalogOutputs = most(&BoardModel::outputs);
constexpr int kQueueLength = most(&BoardModel::queue);
constexpr int kPortCount = kBoards * kPorts;  // port indices: board * kPorts + port

constexpr bool rows_hold()
{
    for (int b = 0; b < kBoards; ++b) {
        const BoardModel &board = kBoardTable[b];
        if (board.ports < 1 || board.inputs < 1 || board.outputs < 1 || board.queue < 1)
            return false;
        if (board.partner != -1 && (board.partner < 0 || board.partner >= kBoards || board.partner == b ||
                                    kBoardTable[board.partner].partner != b))
            return false;
    }
    return kBoards >= 1;
}
static_assert(rows_hold(),
              "every board has ports, inputs, outputs and a queue, and partners name each other");

}  // namespace daqgate::sim

#endif
