// convert.cpp - raw samples of a driver buffer into volts.
#include <algorithm>
#include <limits>

#include "analog.h"

namespace daqgate {

namespace {

// From this many samples on, each distinct raw count is converted by the
// driver once per call and looked up after: a call into the driver per
// sample costs more than the host's own vectorised conversion, and a
// count's volts depend on the board, the range and the count alone.
constexpr int32_t kRememberFrom = 1 << 16;
constexpr int kCounts = 65536;

}  // namespace

bool convert_samples(int32_t board, int32_t range, DaqHandle handle, int32_t first, int32_t count,
                     double *data)
{
    constexpr int32_t kBlock = 4096;
    unsigned short raw[kBlock];
    bool copied = true;
    // Volts by raw count, NaN until the driver has been asked.
    float *volts_of = nullptr;
    if (count >= kRememberFrom) {
        volts_of = static_cast<float *>(mxMalloc(kCounts * sizeof(float)));
        std::fill(volts_of, volts_of + kCounts, std::numeric_limits<float>::quiet_NaN());
    }
    for (int32_t done = 0; done < count; done += kBlock) {
        const int32_t n = count - done < kBlock ? count - done : kBlock;
        if (cbWinBufToArray(handle, raw, first + done, n) != 0) {
            for (int32_t i = 0; i < n; ++i)
                data[done + i] = std::numeric_limits<double>::quiet_NaN();
            copied = false;
            continue;
        }
        for (int32_t i = 0; i < n; ++i) {
            float volts = volts_of != nullptr ? volts_of[raw[i]] : std::numeric_limits<float>::quiet_NaN();
            if (volts != volts) {
                volts = 0;
                cbToEngUnits(board, range, raw[i], &volts);  // status not examined
                if (volts_of != nullptr)
                    volts_of[raw[i]] = volts;
            }
            data[done + i] = volts;
        }
    }
    if (volts_of != nullptr)
        mxFree(volts_of);
    return copied;
}

}  // namespace daqgate
