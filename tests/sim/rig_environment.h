// rig_environment.h - a rig file of the test program's own for the
// simulated driver: named in DAQGATE_RIG before the first driver call, and
// removed when the program ends.
#ifndef DAQGATE_TESTS_RIG_ENVIRONMENT_H
#define DAQGATE_TESTS_RIG_ENVIRONMENT_H

#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "scratch.h"

class RigEnvironment : public ::testing::Environment {
public:
    // The file is stem-PID in the temporary folder; *path names it.
    RigEnvironment(std::string stem, std::string *path) : stem_(std::move(stem)), path_(path) {}
    void SetUp() override
    {
        *path_ = scratch::path(stem_);
        scratch::remove(*path_);
        scratch::set_env("DAQGATE_RIG", *path_);
    }
    void TearDown() override { scratch::remove(*path_); }

private:
    std::string stem_;
    std::string *path_;
};

#endif
