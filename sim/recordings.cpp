// recordings.cpp - recorded signals on the rig: values a file gave, played
// on an analog input.
#include <cmath>

#include "rig.h"

namespace daqgate::sim {

void Rig::release_recording(int board, int channel)
{
    const int32_t input = board * kAnalogInputs + channel;
    for (RecordingState &recording : layout_->recordings) {
        int32_t owner = input;
        recording.owner.compare_exchange_strong(owner, -1);
    }
}

Status Rig::play(int board, int channel, const float *volts, int count, double rate, bool loop,
                 const std::string &name)
{
    if (!valid_board(board))
        return kBadBoard;
    if (!valid_input(board, channel))
        return kBadChannel;
    if (count <= 0 || count > kRecordingValues)
        return kBadCount;
    if (!(rate > 0) || !std::isfinite(rate))
        return kBadRate;
    const RigLock lock(file_);
    if (lock.status() != kNoError)
        return lock.status();
    // The input's own recording, else a free one, else one whose input
    // has since been given another signal.
    const int32_t input = board * kAnalogInputs + channel;
    int chosen = -1;
    for (int pass = 0; pass < 3 && chosen < 0; ++pass) {
        for (int r = 0; r < kRecordings && chosen < 0; ++r) {
            const int32_t owner = layout_->recordings[r].owner.load();
            if (pass == 0 && owner == input)
                chosen = r;
            if (pass == 1 && owner == -1)
                chosen = r;
            Signal playing;
            if (pass == 2 && (owner < 0 || owner >= kBoards * kAnalogInputs ||
                              signal(owner / kAnalogInputs, owner % kAnalogInputs, &playing) != kNoError ||
                              !signal_kind_info(playing.kind)->recorded || playing.recording != r))
                chosen = r;
        }
    }
    if (chosen < 0)
        return kRigFull;
    RecordingState &recording = layout_->recordings[chosen];
    // The values' storage held before anything changes: a rig made sparse
    // (by an older simboard, or a copy) may find no room for them, and the
    // input then plays what it played.
    const auto from = static_cast<std::size_t>(reinterpret_cast<const char *>(&recording) -
                                               reinterpret_cast<const char *>(layout_));
    const auto bytes = static_cast<std::size_t>(reinterpret_cast<const char *>(recording.volts + count) -
                                                reinterpret_cast<const char *>(&recording));
    if (const Status status = file_.reserve(from, bytes); status != kNoError)
        return no_room(status, "the recording", bytes, file_);
    recording.owner.store(input);
    // A scan playing the old values meanwhile reads some of the new: volts
    // either way, within the count it read.
    recording.count.store(0, std::memory_order_release);
    for (int i = 0; i < count; ++i)
        recording.volts[i].store(volts[i], std::memory_order_relaxed);
    for (int i = 0; i < kRecordingName; ++i)
        recording.name[i].store(i < static_cast<int>(name.size()) ? name[static_cast<std::size_t>(i)] : '\0',
                                std::memory_order_relaxed);
    recording.count.store(count, std::memory_order_release);
    Signal played;
    played.kind = SignalKind::file;
    played.parameters[0] = rate;
    played.loop = loop;
    played.recording = chosen;
    played.start = monotonic_seconds();
    return set_signal(board, channel, played);
}

void Rig::recording_name(int recording, char *name, std::size_t size) const
{
    if (size == 0)
        return;
    std::size_t i = 0;
    if (recording >= 0 && recording < kRecordings)
        for (; i + 1 < size && i < static_cast<std::size_t>(kRecordingName); ++i) {
            const char c = layout_->recordings[recording].name[i].load(std::memory_order_relaxed);
            if (c == '\0')
                break;
            name[i] = c;
        }
    name[i] = '\0';
}

}  // namespace daqgate::sim
