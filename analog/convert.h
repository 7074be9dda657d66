// convert.h - raw samples of a driver buffer into volts.
#ifndef DAQGATE_ANALOG_CONVERT_H
#define DAQGATE_ANALOG_CONVERT_H

#include <limits>

#include "analog.h"

namespace daqgate {

namespace convert {

// From this many samples on, each distinct raw count is converted by the
// driver once per call and looked up after: a call into the driver per
// sample costs more than the host's own vectorised conversion, and a
// count's volts depend on the board, the range and the count alone.
constexpr int32_t kRememberFrom = 1 << 16;
constexpr int kCounts = 65536;

// The samples read through the driver's copy at a time, onto the stack:
// few enough bytes for any thread's stack, many enough that a call's
// copies are few (each is a call into the driver, which may read a clock
// or take a lock).
constexpr int32_t kBlock = 16384;

// The last mark a conversion takes before the marks start again from 1.
constexpr uint32_t kLastMark = 0xFFFFFFFFu;

// The volts of each raw count as the driver gave them and, beside them,
// the mark of the conversion that asked: an entry holds only for the
// conversion whose mark it carries, so every call asks the driver afresh
// and none trusts an earlier call's answer.  Mark 0 is no conversion's.
// The volts and the marks are two arrays rather than one of pairs, so
// that a look-up touches only the volts; the volts are kept as doubles,
// so that a look-up is a load and a store with no conversion in between
// (which a compiler may vectorise through the stack, at a cost above the
// look-up's).  Kept for the module's life rather than made per call,
// which would cost every call fresh pages and a fill of all 65,536
// entries.  The host calls a gateway on one thread only.
struct Remembered {
    double volts[kCounts];
    uint32_t marks[kCounts];
    uint32_t last_mark;
};

// A static of a function so that a module has one table, however many of
// its sources include this.
inline Remembered &remembered()
{
    static Remembered table;
    return table;
}

// A new conversion's mark.  When the marks run out, every entry's mark is
// cleared before they start again, so that no entry from before carries
// the mark of a conversion after.
inline uint32_t next_mark()
{
    Remembered &table = remembered();
    if (table.last_mark == kLastMark) {
        for (int count = 0; count < kCounts; ++count)
            table.marks[count] = 0;
        table.last_mark = 0;
    }
    return ++table.last_mark;
}

}  // namespace convert

// Converts a call's samples into volts, reading them through the driver's
// copy in blocks, so that only the driver touches the buffer and a range
// past its end is the driver's refusal, not a wild read.  A call whose
// samples come in pieces (a ring's wrap) makes one conversion and converts
// each piece in turn.  Samples of a refused copy are NaN; convert returns
// false if any copy was refused.
//
// A conversion that remembers asks the driver for a span of counts at a
// time where it can: a block whose counts lie in the span asked so far
// (one pass of 16-bit differences says so) is a look-up a sample, with no
// per-sample question of which counts are new.
// The span grows by what a block needs as long as the counts it asks stay
// within a quarter of the call's samples (a signal that moves by small
// steps, the common case, asks about as many counts as it has distinct
// ones); a block past that budget (a signal that jumps between far
// levels) is converted sample by sample, each distinct count asked once.
class Conversion {
public:
    Conversion(int32_t board, int32_t range, int64_t samples)
        : board_(board),
          range_(range),
          mark_(samples >= convert::kRememberFrom ? convert::next_mark() : 0),
          budget_(samples / 4),
          low_(1),
          high_(0)
    {
    }
    bool convert(DaqHandle handle, int32_t first, int32_t count, double *data);

private:
    float driver_volts(unsigned short count) const;
    void remember(unsigned short count) const;
    void ask(int32_t from, int32_t to) const;
    bool within_span(const unsigned short *raw, int32_t n) const;
    bool spans(const unsigned short *raw, int32_t n);
    void by_sample(const unsigned short *raw, int32_t n, double *data) const;

    int32_t board_;
    int32_t range_;
    uint32_t mark_;       // 0: every sample asked of the driver
    int64_t budget_;      // counts the span may still ask
    int32_t low_, high_;  // the span asked so far; empty while low_ > high_
};

// The driver's volts of a count.  Its status is not examined: a count the
// driver will not convert reads 0 V.
inline float Conversion::driver_volts(unsigned short count) const
{
    float volts = 0;
    cbToEngUnits(board_, range_, count, &volts);  // status not examined
    return volts;
}

// The driver's volts of a count, remembered with this conversion's mark.
inline void Conversion::remember(unsigned short count) const
{
    convert::Remembered &table = convert::remembered();
    table.volts[count] = driver_volts(count);
    table.marks[count] = mark_;
}

// The driver's volts of counts from..to, remembered.
inline void Conversion::ask(int32_t from, int32_t to) const
{
    for (int32_t count = from; count <= to; ++count)
        remember(static_cast<unsigned short>(count));
}

// Whether every count of a block lies in the span asked so far: a count's
// distance above low_, taken modulo 2^16, is at most high_ - low_ for the
// counts in the span alone.  A pass a compiler can do many counts at a
// time.
inline bool Conversion::within_span(const unsigned short *raw, int32_t n) const
{
    if (low_ > high_)
        return false;
    const unsigned short low = static_cast<unsigned short>(low_);
    const unsigned short last = static_cast<unsigned short>(high_ - low_);
    unsigned short outside = 0;
    for (int32_t i = 0; i < n; ++i)
        outside |= static_cast<unsigned short>(raw[i] - low) > last;
    return outside == 0;
}

// Whether the span covers a block's counts, grown within the budget.
inline bool Conversion::spans(const unsigned short *raw, int32_t n)
{
    int32_t low = 65535, high = 0;
    for (int32_t i = 0; i < n; ++i) {
        low = raw[i] < low ? raw[i] : low;
        high = raw[i] > high ? raw[i] : high;
    }
    // An empty span is placed at the block's lowest count, still empty, so
    // that growing it is growing any span.
    if (low_ > high_) {
        low_ = low;
        high_ = low - 1;
    }
    const int32_t below = low < low_ ? low_ - low : 0;
    const int32_t above = high > high_ ? high - high_ : 0;
    if (below + above > budget_)
        return false;
    budget_ -= below + above;
    if (below > 0)
        ask(low, low_ - 1);
    if (above > 0)
        ask(high_ + 1, high);
    low_ = low < low_ ? low : low_;
    high_ = high > high_ ? high : high_;
    return true;
}

// A block sample by sample: each count this conversion has not asked yet
// is asked once.
inline void Conversion::by_sample(const unsigned short *raw, int32_t n, double *data) const
{
    const convert::Remembered &table = convert::remembered();
    for (int32_t i = 0; i < n; ++i) {
        if (table.marks[raw[i]] != mark_)
            remember(raw[i]);
        data[i] = table.volts[raw[i]];
    }
}

inline bool Conversion::convert(DaqHandle handle, int32_t first, int32_t count, double *data)
{
    unsigned short raw[convert::kBlock];
    bool copied = true;
    for (int32_t done = 0; done < count; done += convert::kBlock) {
        const int32_t n = count - done < convert::kBlock ? count - done : convert::kBlock;
        if (cbWinBufToArray(handle, raw, first + done, n) != 0) {
            for (int32_t i = 0; i < n; ++i)
                data[done + i] = std::numeric_limits<double>::quiet_NaN();
            copied = false;
        } else if (mark_ == 0) {
            for (int32_t i = 0; i < n; ++i)
                data[done + i] = driver_volts(raw[i]);
        } else if (within_span(raw, n) || spans(raw, n)) {
            const double *volts = convert::remembered().volts;
            for (int32_t i = 0; i < n; ++i)
                data[done + i] = volts[raw[i]];
        } else {
            by_sample(raw, n, data + done);
        }
    }
    return copied;
}

// The samples of a call in one piece: a foreground scan's.
inline bool convert_samples(int32_t board, int32_t range, DaqHandle handle, int32_t first, int32_t count,
                            double *data)
{
    Conversion conversion(board, range, count);
    return conversion.convert(handle, first, count, data);
}

}  // namespace daqgate

#endif
