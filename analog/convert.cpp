// convert.cpp - raw samples of a driver buffer into volts.
#include <limits>

#include "analog.h"

namespace daqgate {

bool convert_samples(int32_t board, int32_t range, DaqHandle handle, int32_t first, int32_t count,
                     double *data)
{
    constexpr int32_t kBlock = 4096;
    unsigned short raw[kBlock];
    bool copied = true;
    for (int32_t done = 0; done < count; done += kBlock) {
        const int32_t n = count - done < kBlock ? count - done : kBlock;
        if (cbWinBufToArray(handle, raw, first + done, n) != 0) {
            for (int32_t i = 0; i < n; ++i)
                data[done + i] = std::numeric_limits<double>::quiet_NaN();
            copied = false;
            continue;
        }
        for (int32_t i = 0; i < n; ++i) {
            float volts = 0;
            cbToEngUnits(board, range, raw[i], &volts);  // status not examined
            data[done + i] = volts;
        }
    }
    return copied;
}

}  // namespace daqgate
