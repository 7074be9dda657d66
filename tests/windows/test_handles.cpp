// test_handles.cpp - buffer handles on Windows: a driver whose buffer lies
// high (above 4 GiB on 64-bit Windows, above 2 GiB on 32-bit), its handle
// the buffer's address as a board's driver gives it, through the
// allocation, a foreground scan and a background fetch; and, on 64-bit
// Windows, the range a memHandle must lie in.
#include <cmath>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "fake_driver.h"
#include "gateways.h"
#include "host.h"

using namespace testhost;

namespace {

constexpr int kSamples = 4096;

// The highest address of the low half of the address space.
#if defined(_WIN64)
constexpr uintptr_t kLowTop = 0xFFFFFFFF;
#else
constexpr uintptr_t kLowTop = 0x7FFFFFFF;  // this program is large-address-aware
#endif

class HighBuffer : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::driver.reset();
        samples_ = static_cast<unsigned short *>(VirtualAlloc(nullptr, kSamples * sizeof(unsigned short),
                                                              MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN,
                                                              PAGE_READWRITE));
        ASSERT_NE(samples_, nullptr);
        ASSERT_GT(reinterpret_cast<uintptr_t>(samples_), kLowTop);
        for (int i = 0; i < kSamples; ++i)
            samples_[i] = static_cast<unsigned short>(i * 7);
        // The driver reads and writes its buffer through the handle itself.
        const DaqHandle at = reinterpret_cast<DaqHandle>(samples_);
        fake::driver.new_sample_buffer = [at](int) { return at; };
        fake::driver.read_analog_scan = [](int, int, int, int, int *, int, DaqHandle handle, int) {
            return handle == 0 ? 1 : 0;
        };
        fake::driver.win_buf_to_array = [](DaqHandle handle, unsigned short *out, int first, int count) {
            const auto *from = reinterpret_cast<const unsigned short *>(handle);
            for (int i = 0; i < count; ++i)
                out[i] = from[first + i];
            return 0;
        };
        fake::driver.log.clear();
    }
    void TearDown() override
    {
        fake::driver.reset();
        VirtualFree(samples_, 0, MEM_RELEASE);
    }

    double address() const { return static_cast<double>(reinterpret_cast<uintptr_t>(samples_)); }

    unsigned short *samples_ = nullptr;
};

#if defined(_WIN64)

TEST_F(HighBuffer, TheHandleReachesTheScriptWhole)
{
    const Result r = call(gw_cbNewSampleBuffer, 1, {num(kSamples)});
    ASSERT_FALSE(r.raised) << r.error;
    EXPECT_EQ(r.out(0), address());
}

#else

TEST_F(HighBuffer, TheHandleReachesTheScriptAsItsBitsReadAsASignedInteger)
{
    // Above 2 GiB the top bit is set: the script sees the address less 2^32.
    const Result r = call(gw_cbNewSampleBuffer, 1, {num(kSamples)});
    ASSERT_FALSE(r.raised) << r.error;
    EXPECT_EQ(r.out(0), address() - 4294967296.0);
}

#endif

TEST_F(HighBuffer, AForegroundScanConvertsTheBufferTheHandleNames)
{
    const double handle = call(gw_cbNewSampleBuffer, 1, {num(kSamples)}).out(0);
    const Result r =
        call(gw_cbReadAnalogScan, 3, {num(0), row({0, 1}), num(6), num(100), num(0), num(handle)});
    ASSERT_FALSE(r.raised) << r.error;
    EXPECT_EQ(r.out(2), 0);
    ASSERT_EQ(cols(r.outputs[0]), 6);
    for (int i = 0; i < 6; ++i)  // the fake's volts: count / 1000 on range 0
        EXPECT_EQ(value(r.outputs[0], i), static_cast<float>(i * 7 / 1000.0)) << i;
    const std::string whole = std::to_string(reinterpret_cast<DaqHandle>(samples_));
    EXPECT_EQ(fake::driver.calls("cbReadAnalogScan"),
              std::vector<std::string>{"cbReadAnalogScan(0,0,1,6,100,0," + whole + ",0)"});
    EXPECT_EQ(fake::driver.calls("cbWinBufToArray"),
              std::vector<std::string>{"cbWinBufToArray(" + whole + ",0,6)"});
}

TEST_F(HighBuffer, ABackgroundFetchCopiesOutOfTheBufferTheHandleNames)
{
    fake::driver.get_io_status = [](int, short *state, int *count, int *index, int) {
        *state = 1;
        *count = 8;
        *index = 8;
        return 0;
    };
    const double handle = call(gw_cbNewSampleBuffer, 1, {num(kSamples)}).out(0);
    const Result r = call(gw_cbFetchBackgroundData, 4,
                          {num(0), num(0), num(0), num(kSamples), row({0, 1}), num(0), num(handle)});
    ASSERT_FALSE(r.raised) << r.error;
    ASSERT_EQ(rows(r.outputs[0]), 2);
    ASSERT_EQ(cols(r.outputs[0]), 4);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(value(r.outputs[0], i), static_cast<float>(i * 7 / 1000.0)) << i;
    const std::string whole = std::to_string(reinterpret_cast<DaqHandle>(samples_));
    EXPECT_EQ(fake::driver.calls("cbWinBufToArray"),
              std::vector<std::string>{"cbWinBufToArray(" + whole + ",0,8)"});
}

#if defined(_WIN64)

TEST(Handles, AMemHandleOutsideTheRangeOfAHandleIsRefused)
{
    fake::driver.reset();
    const std::string refused =
        "*** cbReadAnalogScan: memHandle must be a buffer handle: a finite number between -2^47 and 2^47";
    for (double handle :
         {std::ldexp(1.0, 47), -std::ldexp(1.0, 47) - 1, std::ldexp(1.0, 60), std::nan(""), HUGE_VAL}) {
        const Result r =
            call(gw_cbReadAnalogScan, 3, {num(0), row({0, 1}), num(6), num(100), num(0), num(handle)});
        EXPECT_EQ(r.error, refused) << handle;
    }
    EXPECT_TRUE(fake::driver.calls("cbReadAnalogScan").empty());
}

TEST(Handles, EveryHandleWithinTheRangeReachesTheDriverAsItIs)
{
    // The largest address below 2^47, a 32-bit tag with its top bit set (the
    // simulated driver's), and a fraction, truncated toward zero.
    fake::driver.reset();
    fake::driver.read_analog_scan = [](int, int, int, int, int *, int, DaqHandle, int) { return 7; };
    for (double handle : {std::ldexp(1.0, 47) - 1, -2147483648.0, 4294967296.75, -std::ldexp(1.0, 47)}) {
        fake::driver.log.clear();
        const Result r = call(gw_cbReadAnalogBackgroundScan, 2,
                              {num(0), row({0, 1}), num(6), num(100), num(0), num(handle)});
        ASSERT_FALSE(r.raised) << r.error;
        EXPECT_EQ(r.out(1), 7);
        EXPECT_EQ(
            fake::driver.calls("cbReadAnalogScan"),
            std::vector<std::string>{"cbReadAnalogScan(0,0,1,6,100,0," +
                                     std::to_string(static_cast<DaqHandle>(std::trunc(handle))) + ",3)"});
    }
    fake::driver.reset();
}

#endif

}  // namespace
