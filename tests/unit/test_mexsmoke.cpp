// The board-free example gateway.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "gateways.h"
#include "host.h"

using namespace testhost;

namespace {

TEST(Mexsmoke, DoublesInDoublePrecision)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(call(gw_mexsmoke, 1, {num(3)}).out(0), 6);
    EXPECT_EQ(call(gw_mexsmoke, 1, {num(-0.25)}).out(0), -0.5);
    EXPECT_EQ(call(gw_mexsmoke, 1, {num(0.1)}).out(0), 0.2);
    EXPECT_EQ(call(gw_mexsmoke, 1, {num(-inf)}).out(0), -inf);
    EXPECT_EQ(call(gw_mexsmoke, 1, {num(1e308)}).out(0), inf);
    EXPECT_TRUE(std::isnan(call(gw_mexsmoke, 1, {num(NAN)}).out(0)));
    const double zero = call(gw_mexsmoke, 1, {num(-0.0)}).out(0);
    EXPECT_TRUE(zero == 0 && std::signbit(zero));
}

TEST(Mexsmoke, StoresItsOutputWhenNoneIsRequested)
{
    const Result r = call(gw_mexsmoke, 0, {num(4)});
    EXPECT_EQ(r.out(0), 8);
    EXPECT_EQ(r.unstored_arrays, 0);
}

TEST(Mexsmoke, ChecksInOrderCountOutputsThenArgument)
{
    EXPECT_EQ(call(gw_mexsmoke, 1, {}).error, "One input required.");
    EXPECT_EQ(call(gw_mexsmoke, 2, {num(1), num(2)}).error, "One input required.");
    EXPECT_EQ(call(gw_mexsmoke, 2, {num(1)}).error, "Too many output arguments");
    for (mxArray *bad : {row({1, 2}), matrix(0, 0, {}), complex(1), int32(1), str("a"), single(1.0f),
                         logical(true), cell()}) {
        const Result r = call(gw_mexsmoke, 1, {bad});
        EXPECT_EQ(r.error, "Input must be a noncomplex scalar double.");
        EXPECT_EQ(r.outputs[0], nullptr);
    }
}

}  // namespace
