// The simulated driver through its C interface, as a gateway calls it: the
// rig comes from DAQGATE_RIG, set before the first call.
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "cbw32.h"

namespace {

std::string rig_path;

class Environment : public ::testing::Environment {
public:
    void SetUp() override
    {
        rig_path = "/tmp/daqgate-api-test-" + std::to_string(getpid());
        unlink(rig_path.c_str());
        setenv("DAQGATE_RIG", rig_path.c_str(), 1);
    }
    void TearDown() override { unlink(rig_path.c_str()); }
};
const auto *const environment = ::testing::AddGlobalTestEnvironment(new Environment);

TEST(Api, TheRigFileIsCreatedOnFirstUse)
{
    unsigned short value = 1;
    ASSERT_EQ(cbReadPort(0, 0, &value), 0);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(access(rig_path.c_str(), R_OK | W_OK), 0);
}

TEST(Api, PortsAcrossTheDefaultWiring)
{
    ASSERT_EQ(cbSetPortDirection(2, 5, 1), 0);
    ASSERT_EQ(cbWritePort(2, 5, 0xABCD), 0);
    unsigned short value = 0;
    ASSERT_EQ(cbReadPort(3, 5, &value), 0);
    EXPECT_EQ(value, 0xABCD);
    EXPECT_NE(cbWritePort(3, 5, 1), 0);  // an input
    EXPECT_NE(cbReadPort(4, 5, &value), 0);
    EXPECT_NE(cbSetPortDirection(0, 32, 1), 0);
    EXPECT_NE(cbSetPortDirection(0, 0, 0), 0);
}

TEST(Api, BoardNamesAreDistinctAndFitTheBuffer)
{
    std::set<std::string> names;
    for (int board = 0; board < 4; ++board) {
        char name[CB_BOARDNAMELEN + 8];
        std::memset(name, 'x', sizeof name);
        ASSERT_EQ(cbBoardLabel(board, name), 0);
        EXPECT_LE(std::strlen(name), 27u);
        EXPECT_EQ(name[CB_BOARDNAMELEN], 'x');  // nothing written past the buffer
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 4u);
    char name[CB_BOARDNAMELEN];
    EXPECT_NE(cbBoardLabel(4, name), 0);
    EXPECT_STREQ(name, "");
}

TEST(Api, EveryStatusTheDriverReturnsHasATextDistinctFromSuccessAndUnknown)
{
    char success[CB_ERRSTRLEN], unknown[CB_ERRSTRLEN];
    cbErrorText(0, success);
    cbErrorText(99999, unknown);
    EXPECT_NE(std::string(unknown).find("99999"), std::string::npos);
    unsigned short value = 0;
    char name[CB_BOARDNAMELEN];
    const int statuses[] = {cbReadPort(9, 0, &value), cbReadPort(0, 99, &value),
                            cbSetPortDirection(0, 0, 7), cbWritePort(1, 31, 0),
                            cbBoardLabel(-1, name)};
    for (int status : statuses) {
        ASSERT_NE(status, 0);
        char text[CB_ERRSTRLEN];
        cbErrorText(status, text);
        EXPECT_STRNE(text, success);
        EXPECT_STRNE(text, unknown);
    }
}

}  // namespace
