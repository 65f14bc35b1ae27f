#include "NetTest.h"

#include <QGuiApplication>

#include <cstdlib>
#include <random>

namespace nettest {
servicesim::Simulator &simulator() { return servicesim::sharedSimulator(); }

void NetTest::SetUp() {
    simulator().resetForTest();
    net::testing::overrideTimeouts(std::nullopt);
    net::testing::resumeTransfers();
}

void NetTest::TearDown() {
    net::testing::resumeTransfers();
    net::testing::overrideTimeouts(std::nullopt);
    if (!scratch_.empty()) {
        std::error_code error;
        std::filesystem::remove_all(scratch_, error);
    }
}

std::filesystem::path NetTest::scratchDirectory() {
    if (scratch_.empty()) {
        std::random_device random;
        scratch_ = std::filesystem::temp_directory_path() / ("lym-net-" + std::to_string(random()));
        std::filesystem::create_directories(scratch_);
    }
    return scratch_;
}

} // namespace nettest

int main(int argc, char **argv) {
    // The simulator draws its pictures with fonts, which need a GUI application (no display).
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    servicesim::stopSharedSimulator();
    return result;
}
