// background.h - drain a running background scan, whole scans at a time.
//
// The scan fills the buffer as a ring of B samples: sample s of the scan
// (s from 0) lies at position s mod B, channel lowChan + s mod N of scan
// s / N when the script's previous position sits on a scan boundary, which
// every position this gateway returns does.  Counts are 32-bit and wrap;
// differences of counts are taken modulo 2^32.
#ifndef DAQGATE_ANALOG_BACKGROUND_H
#define DAQGATE_ANALOG_BACKGROUND_H

#include "convert.h"

namespace daqgate {

namespace fetch {

// later - earlier for two 32-bit counts, across the counts' wrap.
inline int64_t since(int32_t later, int32_t earlier)
{
    return static_cast<int32_t>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}

inline int32_t advanced(int32_t count, int64_t by)
{
    return static_cast<int32_t>(static_cast<uint32_t>(count) + static_cast<uint32_t>(by));
}

// How often the status is asked after the copy before the fetch gives
// its samples up: a driver that fails a query now and then answers the
// next.
constexpr int kLaterQueries = 3;

[[noreturn]] inline void overflow(int32_t board)
{
    cbStopIOBackground(board, CB_AIFUNCTION);  // status not examined
    raise("*** Buffer overflow!!!");
}

}  // namespace fetch

inline void run_fetch_background(const Gateway &gateway, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    const Call call(gateway, nlhs, plhs, nrhs, prhs);
    const int32_t board = call.integer(0, "boardNum");
    const int32_t previous_count = call.integer(1, "previousCount");
    const int32_t previous_index = call.integer(2, "previousIndex");
    const int32_t ring = call.integer(3, "bufferSize");
    const ChannelPair channels = call.pair(4, "[lowChan,highChan]");
    const int32_t range = call.integer(5, "vrange");
    const DaqHandle handle = call.handle(6, "memHandle");
    // Whatever the driver says, the copy must stay inside the ring.
    if (channels.high < channels.low)
        call.refuse("[lowChan,highChan]", "must not have highChan below lowChan");
    if (ring < 1)
        call.refuse("bufferSize", "must be at least 1");
    if (previous_index < 0 || previous_index >= ring)
        call.refuse("previousIndex", "must lie within 0 to bufferSize - 1");
    const int64_t per_scan = static_cast<int64_t>(channels.high) - channels.low + 1;

    // A failed query writes nothing: it then reports the script's own
    // position and no running scan.
    short state = 0;
    int count = previous_count;
    int index = previous_index;
    cbGetIOStatus(board, &state, &count, &index, CB_AIFUNCTION);  // status not examined
    // Nothing to return: a 0-by-0 matrix and the state at a position.
    const auto nothing = [&](int32_t at_count, int32_t at_index) {
        call.put_matrix(0, 0);
        call.put(1, state);
        call.put(2, at_count);
        call.put(3, at_index);
    };
    if (state != CB_RUNNING)
        return nothing(count, index);  // not running: samples never fetched stay so

    const int64_t arrived = fetch::since(count, previous_count);
    if (arrived < 0)
        call.refuse("previousCount",
                    "is ahead of the scan's count: pass the count and index the previous fetch of this scan "
                    "returned");
    if (arrived > ring)
        fetch::overflow(board);  // the oldest unread sample has been overwritten
    if (index < 0)
        return nothing(previous_count, previous_index);  // nothing stored yet: the position stays
    if (index != (previous_index + arrived) % ring)
        call.refuse("previousIndex",
                    "does not match the scan's count and index: pass the count and index the previous fetch "
                    "of this scan returned");

    // Whole scans only: a trailing part of a scan waits for the next fetch.
    const int64_t scans = arrived / per_scan;
    const int64_t taken = scans * per_scan;
    double *data = call.put_matrix(static_cast<size_t>(per_scan), static_cast<size_t>(scans));
    const int64_t first_piece = taken < ring - previous_index ? taken : ring - previous_index;
    Conversion conversion(board, range, taken);
    const bool copied =
        conversion.convert(handle, previous_index, static_cast<int32_t>(first_piece), data) &&
        conversion.convert(handle, 0, static_cast<int32_t>(taken - first_piece), data + first_piece);
    if (!copied)
        raise(
            "*** cbFetchBackgroundData: the driver could not copy the samples: memHandle and bufferSize must "
            "name the scan's buffer");

    // The scan went on while the samples were copied.  The oldest of them
    // is gone once more than a ring's worth has arrived since it.  Only
    // the driver's count can tell: when it cannot be had, the samples are
    // not returned as good.  The scan runs on and the position stays with
    // the script, so that a fetch again from it returns them or finds the
    // overflow.
    short later_state = 0;
    int later_count = count;
    int later_index = index;
    bool told = false;
    for (int query = 0; query < fetch::kLaterQueries && !told; ++query)
        told = cbGetIOStatus(board, &later_state, &later_count, &later_index, CB_AIFUNCTION) == 0;
    if (!told)
        raise(
            "*** cbFetchBackgroundData: the driver's status could not be read after the copy, so the samples "
            "may have been overwritten: fetch again from the same previousCount and previousIndex");
    if (fetch::since(later_count, previous_count) > ring)
        fetch::overflow(board);

    call.put(1, state);
    call.put(2, fetch::advanced(previous_count, taken));
    call.put(3, static_cast<double>((previous_index + taken) % ring));
}

}  // namespace daqgate

#endif
