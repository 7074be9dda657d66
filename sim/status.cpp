// status.cpp - the status texts of the simulated driver.
#include "status.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "analog.h"
#include "boards.h"
#include "cbw32.h"
#include "rigfile.h"

namespace daqgate::sim {

std::string from_zero(int count)
{
    if (count <= 1)
        return "0";
    return count == 2 ? "0 and 1" : "0 to " + std::to_string(count - 1);
}

namespace {

// The texts that name a limit or a code, each made from the constant it
// names, so that a text stays true when a table or a constant changes.
std::string channel_text()
{
    return "Invalid analog channel: inputs are " + from_zero(kAnalogInputs) + ", outputs " +
           from_zero(kAnalogOutputs) + ".";
}

std::string range_text()
{
    return "Invalid range code: use " + range_list(RangeWords::status) + ".";
}

std::string locked_text()
{
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", RigFile::kLockSeconds);
    return std::string("The simulated rig file stayed locked by another process for ") + seconds + " seconds.";
}

std::string board_text()
{
    return "Invalid board number: the simulated rig has boards " + from_zero(kBoards) + ".";
}

std::string port_text()
{
    return "Invalid digital port code: the simulated boards have ports " + from_zero(kPorts) + ".";
}

std::string direction_text()
{
    return "Invalid port direction: use " + std::to_string(CB_DIGITAL_OUT) + " for output or " +
           std::to_string(CB_DIGITAL_IN) + " for input.";
}

std::string options_text()
{
    return "Invalid options word: use " + std::to_string(CB_FOREGROUND) + " (foreground) or " +
           std::to_string(CB_BACKGROUND) + " (continuous background).";
}

std::string function_text()
{
    return "Invalid function type: " + std::to_string(CB_AIFUNCTION) + " is the analog input background scan.";
}

// A status's text: as it stands, or made by `made` from what it names.
struct StatusEntry {
    Status code;
    const char *text;
    std::string (*made)() = nullptr;
};

constexpr StatusEntry kStatusTexts[] = {
    {kNoError, "No error has occurred."},
    {kBadBoard, nullptr, board_text},
    {kBadPort, nullptr, port_text},
    {kBadDirection, nullptr, direction_text},
    {kNotOutput, "Digital port is configured as an input: set it to output before writing."},
    {kRigOpen, "The simulated rig file cannot be opened, created or mapped (see DAQGATE_RIG)."},
    {kRigLayout, "The simulated rig file has another layout or version: run 'simboard reset' to renew it."},
    {kAlreadyWired, "Digital port is wired already: unwire it first."},
    {kNotWired, "The two digital ports are not wired to each other."},
    {kBadChannel, nullptr, channel_text},
    {kBadRange, nullptr, range_text},
    {kBadVoltage, "The voltage is not a number."},
    {kBadCount, "Invalid sample count: negative, too large, or past the end of the buffer."},
    {kBadRate, "Invalid sample rate: it must be at least 1 scan per second."},
    {kBadHandle, "The buffer handle names no sample buffer of this process."},
    {kBadOptions, nullptr, options_text},
    {kBadFunction, nullptr, function_text},
    {kBusy, "A background scan is running on this board already: stop it first."},
    {kRigLost,
     "The simulated rig file was lost (shrunk, removed or replaced under this process): run 'simboard reset' "
     "to renew it."},
    {kRigCorrupt,
     "The simulated rig file holds invalid data (a process wrote over it, or died writing): run 'simboard "
     "reset' to renew it."},
    {kRigLocked, nullptr, locked_text},
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
    {kBadSignal, "Invalid signal: its kind is unknown, or a number of it is not finite or out of its range."},
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
        FilledTexts filled{};
        for (std::size_t i = 0; i < kEntries; ++i) {
            const StatusEntry &entry = kStatusTexts[i];
            const std::string text = entry.made != nullptr ? entry.made() : entry.text;
            std::snprintf(filled.text[i], CB_ERRSTRLEN, "%s", text.c_str());
        }
        return filled;
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
