// The frame as every gateway shows it: count check, conversion of the
// script's values, refusal of values the driver cannot be given, and the
// storing of results within the room the host gives.  cbWritePort and
// cbReadPort stand in for any gateway here.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "fake_driver.h"
#include "gateways.h"
#include "host.h"

using namespace testhost;

namespace {

class Frame : public ::testing::Test {
protected:
    void SetUp() override { fake::driver.reset(); }
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST_F(Frame, WrongArgumentCountRaisesUsageBeforeAnything)
{
    const std::string usage = "*** Usage: [errorCode] = cbReadPort(boardNum, portNum)";
    for (auto args : {std::initializer_list<mxArray *>{}, std::initializer_list<mxArray *>{num(0)},
                      std::initializer_list<mxArray *>{num(0), num(1), num(2)}}) {
        const Result r = call(gw_cbReadPort, 2, args);
        EXPECT_TRUE(r.raised);
        EXPECT_EQ(r.error, usage);
        EXPECT_EQ(r.outputs[0], nullptr);
        EXPECT_EQ(r.outputs[1], nullptr);
    }
    // Arguments of the wrong kind are not even looked at before the count.
    EXPECT_EQ(call(gw_cbReadPort, 1, {cell()}).error, usage);
    EXPECT_TRUE(fake::driver.log.empty());
}

TEST_F(Frame, IntegersAreTruncatedTowardZero)
{
    call(gw_cbWritePort, 1, {num(2.9), num(-2.9), num(-0.5)});
    call(gw_cbWritePort, 1, {num(3), num(1.9), num(255.99)});
    EXPECT_EQ(fake::driver.log, (std::vector<std::string>{"cbWritePort(2,-2,0)", "cbWritePort(3,1,255)"}));
}

TEST_F(Frame, ThirtyTwoBitExtremesPassAndOnlyTheLow16BitsReachAWord)
{
    call(gw_cbWritePort, 1, {num(2147483647.9), num(-2147483648.9), num(65537)});
    call(gw_cbWritePort, 1, {num(0), num(0), num(-1)});
    call(gw_cbWritePort, 1, {num(0), num(0), num(65536)});
    EXPECT_EQ(fake::driver.log, (std::vector<std::string>{"cbWritePort(2147483647,-2147483648,1)",
                                                          "cbWritePort(0,0,65535)", "cbWritePort(0,0,0)"}));
}

TEST_F(Frame, NonFiniteOrOutOfRangeIntegersAreRefusedNamingGatewayAndArgument)
{
    const double bad[] = {kNaN, kInf, -kInf, 2147483648.0, -2147483649.0, 1e300};
    for (double value : bad) {
        const Result r = call(gw_cbWritePort, 1, {num(0), num(value), num(0)});
        EXPECT_TRUE(r.raised) << value;
        EXPECT_EQ(r.error, "*** cbWritePort: portNum must be a finite number within the 32-bit integer range")
            << value;
    }
    // The last argument is checked too, and the driver is never called.
    EXPECT_EQ(call(gw_cbWritePort, 1, {num(0), num(0), num(kNaN)}).error,
              "*** cbWritePort: value must be a finite number within the 32-bit integer range");
    EXPECT_TRUE(fake::driver.log.empty());
}

TEST_F(Frame, ArgumentsOfTheWrongKindAreRefusedNeverRead)
{
    mxArray *const wrong[] = {str("1"),         cell(),           structure(),     logical(true),
                              int32(1),         single(1.0f),     complex(1.0),    sparse_row({0, 3}),
                              matrix(0, 0, {}), matrix(1, 0, {}), matrix(0, 3, {})};
    for (mxArray *arg : wrong) {
        const Result r = call(gw_cbReadPort, 2, {num(0), arg});
        EXPECT_TRUE(r.raised);
        EXPECT_EQ(r.error, "*** cbReadPort: portNum must be a real double number");
        EXPECT_EQ(r.outputs[0], nullptr);
    }
    EXPECT_TRUE(fake::driver.log.empty());
}

TEST_F(Frame, ANonScalarArrayCountsByItsFirstElement)
{
    call(gw_cbReadPort, 2, {row({3, 99}), matrix(2, 1, {5, 7})});
    EXPECT_EQ(fake::driver.log, (std::vector<std::string>{"cbReadPort(3,5)"}));
}

TEST_F(Frame, AllOutputsAreStoredWithinTheRoomTheHostGives)
{
    fake::driver.read_port = [](int, int, unsigned short *v) {
        *v = 7;
        return -1;
    };
    // nlhs 0 and 1: room for one, so only the first output is made.
    for (int nlhs : {0, 1}) {
        const Result r = call(gw_cbReadPort, nlhs, {num(0), num(1)});
        ASSERT_FALSE(r.raised);
        ASSERT_EQ(r.outputs.size(), 1u);
        EXPECT_EQ(r.out(0), 7);
        EXPECT_FALSE(r.wrote_past_room);
        EXPECT_EQ(r.unstored_arrays, 0);
    }
    const Result two = call(gw_cbReadPort, 2, {num(0), num(1)});
    EXPECT_EQ(two.out(0), 7);
    EXPECT_EQ(two.out(1), -1);
    // More requested than the gateway has: the rest is left to the host.
    const Result five = call(gw_cbReadPort, 5, {num(0), num(1)});
    EXPECT_EQ(five.out(1), -1);
    EXPECT_EQ(five.outputs[2], nullptr);
    EXPECT_FALSE(five.wrote_past_room);
}

TEST_F(Frame, ACallAfterAnErrorStartsAfresh)
{
    EXPECT_TRUE(call(gw_cbReadPort, 2, {num(0), num(kNaN)}).raised);
    fake::driver.read_port = [](int, int, unsigned short *v) {
        *v = 0x1234;
        return 0;
    };
    const Result r = call(gw_cbReadPort, 2, {num(1), num(2)});
    EXPECT_FALSE(r.raised);
    EXPECT_EQ(r.out(0), 0x1234);
    EXPECT_EQ(r.out(1), 0);
}

}  // namespace
