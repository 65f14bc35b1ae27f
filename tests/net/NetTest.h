#pragma once
// The in-process service simulator every net test runs against, and a fixture that puts it back
// into its default state before each test.

#include "Simulator.h"
#include "net/Control.h"
#include "net/Services.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace nettest {

servicesim::Simulator &simulator();

// A short time-out set for tests that wait on a silent server.
inline net::testing::Timeouts shortTimeouts() {
    using namespace std::chrono_literals;
    return {2000ms, 1000ms, 0ms};
}

class NetTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    servicesim::Simulator &sim() { return simulator(); }
    // A fresh empty directory for the test.
    std::filesystem::path scratchDirectory();

private:
    std::filesystem::path scratch_;
};

// A host of no real service, answered from canned responses.
inline constexpr const char *kTestHost = "t.sim.test";

} // namespace nettest
