// status.cpp - the status texts of the simulated driver.
#include "status.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "boards.h"
#include "cbw32.h"

namespace daqgate::sim {

namespace {

// A text, with the limits it names filled in from the board table.
struct StatusEntry {
    Status code;
    const char *text;
    int first = 0;
    int second = 0;
};

constexpr StatusEntry kStatusTexts[] = {
    {kNoError, "No error has occurred."},
    {kBadBoard, "Invalid board number: the simulated rig has boards 0 to %d.", kBoards - 1},
    {kBadPort, "Invalid digital port code: the simulated boards have ports 0 to %d.", kPorts - 1},
    {kBadDirection, "Invalid port direction: use 1 for output or 2 for input."},
    {kNotOutput, "Digital port is configured as an input: set it to output before writing."},
    {kRigOpen, "The simulated rig file cannot be opened, created or mapped (see DAQGATE_RIG)."},
    {kRigLayout, "The simulated rig file has another layout or version: run 'simboard reset' to renew it."},
    {kAlreadyWired, "Digital port is wired already: unwire it first."},
    {kNotWired, "The two digital ports are not wired to each other."},
    {kBadChannel, "Invalid analog channel: inputs are 0 to %d, outputs 0 and %d.", kAnalogInputs - 1,
     kAnalogOutputs - 1},
    {kBadRange,
     "Invalid range code: use 0, 1, 2, 3 (bipolar 10, 5, 2.5, 1 V) or 100, 101 (unipolar 10, 5 V)."},
    {kBadVoltage, "The voltage is not a number."},
    {kBadCount, "Invalid sample count: negative, too large, or past the end of the buffer."},
    {kBadRate, "Invalid sample rate: it must be at least 1 scan per second."},
    {kBadHandle, "The buffer handle names no sample buffer of this process."},
    {kBadOptions, "Invalid options word: use 0 (foreground) or 3 (continuous background)."},
    {kBadFunction, "Invalid function type: 1 is the analog input background scan."},
    {kBusy, "A background scan is running on this board already: stop it first."},
    {kRigLost,
     "The simulated rig file was lost (shrunk, removed or replaced under this process): run 'simboard reset' "
     "to renew it."},
    {kRigCorrupt,
     "The simulated rig file holds invalid data (a process wrote over it, or died writing): run 'simboard "
     "reset' to renew it."},
    {kRigLocked, "The simulated rig file stayed locked by another process for 5 seconds."},
    {kRigFull, "The simulated rig has no room left: every fault or recording it holds is in use."},
    {kRigNotFile,
     "The simulated rig file is not a regular file (a folder, link, device or pipe stands at its path): see "
     "DAQGATE_RIG."},
    {kRigNotOwn,
     "The simulated rig file belongs to another user or is open to others: the default rig must be yours "
     "alone; remove it, or name another place in DAQGATE_RIG."},
    {kRigNotRig,
     "The file at the simulated rig's path is not a rig and is left as it is: remove it yourself, or name "
     "another place in DAQGATE_RIG."},
    {kRigNoRoom,
     "The simulated rig file cannot be given its storage: its file system is full, or a limit on file sizes "
     "stands in the way (see DAQGATE_RIG)."},
};

constexpr std::size_t kEntries = sizeof kStatusTexts / sizeof *kStatusTexts;

// Each text with its limits filled in, made once on first use: a call
// copies one instead of formatting it afresh, which cost a host's call of
// cbErrorText a few per cent.  Plain characters, so that nothing is torn
// down at exit under a thread still asking.
struct FilledTexts {
    char text[kEntries][CB_ERRSTRLEN];
};

const FilledTexts &filled_texts()
{
    static const FilledTexts texts = [] {
        FilledTexts made{};
        for (std::size_t i = 0; i < kEntries; ++i)
            std::snprintf(made.text[i], CB_ERRSTRLEN, kStatusTexts[i].text, kStatusTexts[i].first,
                          kStatusTexts[i].second);
        return made;
    }();
    return texts;
}

}  // namespace

void status_text(int code, char *text, std::size_t size)
{
    for (std::size_t i = 0; i < kEntries; ++i) {
        if (kStatusTexts[i].code == code) {
            if (size == 0)
                return;
            const char *filled = filled_texts().text[i];
            const std::size_t length = std::min(std::strlen(filled), size - 1);
            std::memcpy(text, filled, length);
            text[length] = '\0';
            return;
        }
    }
    std::snprintf(text, size, "Unknown error code %d.", code);
}

}  // namespace daqgate::sim
