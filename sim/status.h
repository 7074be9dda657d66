// status.h - the status codes of the simulated driver and their texts.
#ifndef DAQGATE_SIM_STATUS_H
#define DAQGATE_SIM_STATUS_H

#include <cstddef>
#include <string>

namespace daqgate::sim {

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
    kRigLost = 18,
    kRigCorrupt = 19,
    kRigLocked = 20,
    kRigFull = 21,
    // Why a rig file cannot be used, past kRigOpen and kRigLayout: added
    // after the others, so that no code a script knows moves.
    kRigNotFile = 22,
    kRigNotOwn = 23,
    kRigNotRig = 24,
    kRigNoRoom = 25,
    // A signal the rig cannot play: a kind not in the table of kinds, or a
    // number (a frequency, a rate, a level...) not finite or out of range.
    kBadSignal = 26,
};

// The numbers from 0 to count - 1 in words, as the texts name a span of
// boards, ports or channels: "0", "0 and 1", "0 to 15".
std::string from_zero(int count);

// The text of a status code; an unknown code gets a text saying so.
// Writes at most size bytes, terminator included.
void status_text(int code, char *text, std::size_t size);

}  // namespace daqgate::sim

#endif
