// The digital port gateways and the board utilities against the fake driver.
#include <cstring>

#include <gtest/gtest.h>

#include "fake_driver.h"
#include "gateways.h"
#include "host.h"

using namespace testhost;

namespace {

class Digital : public ::testing::Test {
protected:
    void SetUp() override { fake::driver.reset(); }
};

TEST_F(Digital, ReadPortReturnsTheWordUnsignedThenTheStatus)
{
    fake::driver.read_port = [](int, int, unsigned short *v) {
        *v = 0xFFFF;
        return 0;
    };
    const Result r = call(gw_cbReadPort, 2, {num(1), num(10)});
    EXPECT_EQ(r.out(0), 65535);  // all lines high, never -1
    EXPECT_EQ(r.out(1), 0);
    EXPECT_EQ(fake::driver.log, (std::vector<std::string>{"cbReadPort(1,10)"}));
}

TEST_F(Digital, FailedReadGivesItsStatusAndAZeroWord)
{
    // The driver fails without writing the word.
    fake::driver.read_port = [](int, int, unsigned short *) { return 2; };
    const Result r = call(gw_cbReadPort, 2, {num(0), num(99)});
    EXPECT_FALSE(r.raised);
    EXPECT_EQ(r.out(0), 0);
    EXPECT_EQ(r.out(1), 2);
}

TEST_F(Digital, WriteAndDirectionPassTheirThirdArgumentAndReturnTheStatus)
{
    fake::driver.write_port = [](int, int, unsigned short) { return -1; };
    fake::driver.set_port_direction = [](int, int, int) { return 3; };
    const Result w = call(gw_cbWritePort, 0, {num(0), num(10), num(0x41)});
    const Result d = call(gw_cbSetPortDirection, 0, {num(1), num(11.5), num(2)});
    EXPECT_EQ(w.out(0), -1);  // a failure is a result, not an error
    EXPECT_EQ(d.out(0), 3);
    EXPECT_EQ(fake::driver.log,
              (std::vector<std::string>{"cbWritePort(0,10,65)", "cbSetPortDirection(1,11,2)"}));
}

TEST_F(Digital, UsageTexts)
{
    EXPECT_EQ(call(gw_cbWritePort, 1, {num(0), num(1)}).error,
              "*** Usage: [errorCode] = cbWritePort(boardNum, portNum, value)");
    EXPECT_EQ(call(gw_cbSetPortDirection, 1, {num(0), num(1), num(2), num(3)}).error,
              "*** Usage: [errorCode] = cbSetPortDirection(boardNum, portNum, direction)");
    EXPECT_EQ(call(gw_cbErrorText, 1, {}).error, "*** Usage: [errorString] = cbErrorText(errorCode)");
    EXPECT_EQ(call(gw_cbErrorText, 1, {num(0), num(1)}).error,
              "*** Usage: [errorString] = cbErrorText(errorCode)");
    EXPECT_EQ(call(gw_cbBoardLabel, 2, {num(0), num(1)}).error,
              "*** Usage: [boardName, errorCode] = cbBoardLabel(boardNum)");
    EXPECT_TRUE(fake::driver.log.empty());
}

TEST_F(Digital, ErrorTextReturnsTheDriversTextUnchanged)
{
    fake::driver.error_text = [](int, char *text) {
        std::strcpy(text, "  No error has occurred.\t");
        return 0;
    };
    const Result r = call(gw_cbErrorText, 1, {num(0)});
    EXPECT_EQ(text(r.outputs[0]), "  No error has occurred.\t");
    call(gw_cbErrorText, 1, {num(7.9)});
    EXPECT_EQ(fake::driver.log, (std::vector<std::string>{"cbErrorText(0)", "cbErrorText(7)"}));
}

TEST_F(Digital, ErrorTextOfAFullBufferStaysInsideIt)
{
    // 255 characters and the terminator fill the buffer; a driver that
    // forgets the terminator is cut at the buffer's end.
    fake::driver.error_text = [](int, char *text) {
        std::memset(text, 'x', CB_ERRSTRLEN);
        return 0;
    };
    EXPECT_EQ(text(call(gw_cbErrorText, 1, {num(1)}).outputs[0]), std::string(255, 'x'));
}

TEST_F(Digital, BoardLabelOfTwentySevenCharactersComesBackWhole)
{
    fake::driver.board_label = [](int, char *name) {
        std::memcpy(name, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0", 28);
        return 0;
    };
    const Result r = call(gw_cbBoardLabel, 2, {num(3)});
    EXPECT_EQ(text(r.outputs[0]), "ABCDEFGHIJKLMNOPQRSTUVWXYZ0");
    EXPECT_EQ(r.out(1), 0);
}

TEST_F(Digital, BoardLabelUnterminatedWithinItsBufferIsCutToTwentySevenCharacters)
{
    // A driver that fills the whole name buffer and no terminator: the text
    // ends with the buffer, whatever lies past it.
    fake::driver.board_label = [](int, char *name) {
        std::memset(name, 'N', CB_BOARDNAMELEN);
        std::memcpy(name + CB_BOARDNAMELEN, "past", 5);
        return 0;
    };
    const Result r = call(gw_cbBoardLabel, 2, {num(0)});
    EXPECT_EQ(text(r.outputs[0]), std::string(CB_BOARDNAMELEN - 1, 'N'));
}

TEST_F(Digital, BoardLabelOfAFailedCallIsEmptyAndCarriesTheStatus)
{
    fake::driver.board_label = [](int, char *) { return 1; };  // writes nothing
    const Result r = call(gw_cbBoardLabel, 0, {num(9)});
    EXPECT_EQ(text(r.outputs[0]), "");
    EXPECT_EQ(r.outputs.size(), 1u);  // nlhs 0: the status has no room
    const Result both = call(gw_cbBoardLabel, 2, {num(9)});
    EXPECT_EQ(both.out(1), 1);
}

}  // namespace
