// fuzz_gateways - libFuzzer target for what turns a script's values into
// driver arguments: the frame's argument conversion, through gateways of
// every kind of argument, and the arithmetic of the background fetch
// against a driver whose status, count and index are the fuzzer's.
//
// Through the test host and the fake driver.  A crash, a sanitizer report,
// a host operation misused, or a copy outside the ring is a finding.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fake_driver.h"
#include "gateways.h"
#include "host.h"

using namespace testhost;

namespace {

// Reads the fuzzer's bytes as values; past the end everything is zero.
class Input {
public:
    Input(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    template <typename T>
    T value()
    {
        T v{};
        uint8_t raw[sizeof(T)] = {};
        for (auto &b : raw)
            b = byte();
        std::memcpy(&v, raw, sizeof v);
        return v;
    }
    // A double, often one of the edges a script can produce.
    double number()
    {
        static const double edges[] = {0,
                                       -0.0,
                                       0.5,
                                       -0.5,
                                       1,
                                       -1,
                                       2,
                                       3,
                                       7.9,
                                       65535,
                                       65536,
                                       65537,
                                       2147483647.0,
                                       2147483647.9,
                                       2147483648.0,
                                       -2147483648.0,
                                       -2147483648.9,
                                       -2147483649.0,
                                       1e300,
                                       -1e300,
                                       NAN,
                                       INFINITY,
                                       -INFINITY,
                                       4.9e-324};
        const uint8_t pick = byte();
        if (pick < 200)
            return edges[pick % (sizeof edges / sizeof *edges)];
        return value<double>();
    }

private:
    const uint8_t *data_;
    size_t size_;
    size_t pos_ = 0;
};

mxArray *argument(Input &in)
{
    switch (in.byte() % 12) {
    case 0: return str(std::string(in.byte() % 8, static_cast<char>('A' + in.byte() % 26)));
    case 1: return cell();
    case 2: return structure();
    case 3: return logical(in.byte() & 1);
    case 4: return int32(in.value<int32_t>());
    case 5: return single(static_cast<float>(in.number()));
    case 6: return complex(in.number());
    case 7: return sparse_row({in.number(), in.number()});
    case 8: {
        const int rows = in.byte() % 4, cols = in.byte() % 4;
        std::vector<double> values(static_cast<size_t>(rows * cols));
        for (double &v : values)
            v = in.number();
        return matrix(rows, cols, values);
    }
    default: return num(in.number());
    }
}

void misused(const char *what)
{
    std::fprintf(stderr, "host operation misused: %s\n", what);
    std::abort();
}

// Any gateway with fuzzed arguments, count and outputs.
void fuzz_frame(Input &in)
{
    static Entry *const gateways[] = {
#define DAQGATE_GATEWAY(name) gw_##name,
#include "gateways.inc"
#undef DAQGATE_GATEWAY
    };
    Entry *gateway = gateways[in.byte() % (sizeof gateways / sizeof *gateways)];
    const int nlhs = in.byte() % 6;
    const int nrhs = in.byte() % 9;
    std::vector<mxArray *> args;
    for (int i = 0; i < nrhs; ++i)
        args.push_back(argument(in));

    // A driver that answers at once: writes fail, so no link waits.
    fake::driver.reset();
    fake::driver.write_port = [](int, int, unsigned short) { return 4; };
    fake::driver.read_analog_scan = [](int, int, int, int, int *, int, DaqHandle, int) { return 12; };
    fake::driver.win_buf_to_array = [](DaqHandle, unsigned short *, int, int) { return 14; };
    fake::driver.new_sample_buffer = [](int) { return DaqHandle{0}; };

    const Result r = call(gateway, nlhs, args);
    if (r.wrote_past_room || r.unstored_arrays != 0 || r.held_blocks != 0) {
        std::fprintf(stderr, "past room %d, unstored %d, held %d\n", r.wrote_past_room, r.unstored_arrays,
                     r.held_blocks);
        std::abort();
    }
}

// The fetch against a driver whose answers are the fuzzer's, on a ring of
// B samples that the fake copies from only inside its bounds.
void fuzz_fetch(Input &in)
{
    const int ring = 1 + in.byte() % 64;
    const int previous_count = in.value<int32_t>();
    const int previous_index = static_cast<int>(in.byte() % 72) - 4;
    const int low = in.byte() % 16, high = low + static_cast<int>(in.byte() % 20) - 2;
    struct Reply {
        short state;
        int count;
        int index;
        int status;
    };
    Reply replies[2];
    for (Reply &reply : replies) {
        reply.state = static_cast<short>(in.byte() % 3);
        // Mostly counts near the previous one, sometimes anything.
        // (counts wrap: sums are taken modulo 2^32)
        reply.count = in.byte() < 200 ? static_cast<int32_t>(static_cast<uint32_t>(previous_count) +
                                                             static_cast<uint32_t>(in.byte() % 160) - 16u)
                                      : in.value<int32_t>();
        reply.index = static_cast<int>(in.byte() % 80) - 8;
        reply.status = in.byte() % 8 == 0 ? 16 : 0;
    }

    fake::driver.reset();
    const auto handle = static_cast<DaqHandle>(0x4000);
    fake::driver.buffers[handle].assign(static_cast<size_t>(ring), 1);
    int queries = 0;
    fake::driver.get_io_status = [&](int, short *state, int *count, int *index, int) {
        const Reply &reply = replies[queries++ > 0 ? 1 : 0];
        if (reply.status == 0) {
            *state = reply.state;
            *count = reply.count;
            *index = reply.index;
        }
        return reply.status;
    };
    fake::driver.win_buf_to_array = [&](DaqHandle h, unsigned short *out, int first, int count) {
        if (h != handle || first < 0 || count < 0 || first + static_cast<int64_t>(count) > ring) {
            std::fprintf(stderr, "copy outside the ring: first %d count %d ring %d\n", first, count, ring);
            std::abort();
        }
        for (int i = 0; i < count; ++i)
            out[i] = static_cast<unsigned short>(first + i);
        return 0;
    };
    const Result r = call(gw_cbFetchBackgroundData, 4,
                          {num(0), num(previous_count), num(previous_index), num(ring),
                           row({double(low), double(high)}), num(0), num(double(handle))});
    if (r.raised)
        return;
    // What a script relies on: whole scans of N rows, no more than arrived,
    // and a position inside the ring on a scan boundary.
    const mxArray *data = r.outputs[0];
    const double index = value(r.outputs[3]);
    const bool stopped = value(r.outputs[1]) != 1;
    const int64_t taken = int64_t{rows(data)} * cols(data);
    const int64_t moved =
        static_cast<int32_t>(static_cast<uint32_t>(static_cast<int32_t>(value(r.outputs[2]))) -
                             static_cast<uint32_t>(previous_count));
    const bool sound = stopped || (index >= 0 && index < ring && taken == moved && taken <= ring &&
                                   (rows(data) == 0 || rows(data) == high - low + 1));
    if (!sound) {
        std::fprintf(stderr, "unsound fetch: %dx%d, index %g, moved %lld\n", rows(data), cols(data), index,
                     static_cast<long long>(moved));
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    misuse = misused;
    forget_arrays();
    Input in(data, size);
    if (in.byte() & 1)
        fuzz_fetch(in);
    else
        fuzz_frame(in);
    return 0;
}
