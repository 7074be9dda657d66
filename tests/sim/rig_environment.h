// rig_environment.h - a rig file of the test program's own for the
// simulated driver: named in DAQGATE_RIG before the first driver call, and
// removed when the program ends.
#ifndef DAQGATE_TESTS_RIG_ENVIRONMENT_H
#define DAQGATE_TESTS_RIG_ENVIRONMENT_H

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "scratch.h"

class RigEnvironment : public ::testing::Environment {
public:
    // The file is stem-PID in the temporary folder; *path names it.
    RigEnvironment(std::string stem, std::string *path) : stem_(std::move(stem)), path_(path) {}
    // Runs before each repetition of the tests (--gtest_repeat): the file
    // stays from one to the next, since the driver in this process keeps
    // it mapped, and goes when the program ends.
    void SetUp() override
    {
        if (!path_->empty())
            return;
        *path_ = scratch::path(stem_);
        scratch::remove(*path_);
        scratch::set_env("DAQGATE_RIG", *path_);
        created().push_back(*path_);
        static const int registered = std::atexit([] {
            for (const std::string &file : created())
                scratch::remove(file);
        });
        (void)registered;
    }

private:
    static std::vector<std::string> &created()
    {
        static auto *files = new std::vector<std::string>;  // outlives every static it is used by
        return *files;
    }
    std::string stem_;
    std::string *path_;
};

#endif
