// The real program as a process: first start on a clean account, then an end request.

#include "TestSupport.h"
#include "text/Gbk.h"
#include "ui/Files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(Process, FirstStartAndCleanEnd) {
    QTemporaryDir home;
    QTemporaryDir runDir;
    ASSERT_TRUE(QDir(home.path()).mkpath("Documents"));
    // A copy of the program in a directory of its own, so its player page is this test's alone.
    const QString program = runDir.filePath(QStringLiteral("岚影迷"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(LYM_PROGRAM_PATH), program));
    const std::string page = runDir.filePath(QStringLiteral("岚影目录.htm")).toStdString();
    ASSERT_TRUE(ui::writeFile(page, "left over"));

    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.filePath(".config"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(program, {});
    ASSERT_TRUE(process.waitForStarted(10000));

    const std::string documents = home.filePath("Documents").toStdString() + "/";
    const std::string config = documents + "岚影迷_配置.ini";
    const std::string episodes = documents + "岚影迷_最新集数.txt";
    EXPECT_TRUE(testsupport::waitUntil([&] { return ui::fileExists(config) && ui::fileExists(episodes); }, 20000));
    const std::string section = text::gbk("版本号");
    EXPECT_EQ(ui::readFile(config).value_or(""), "[" + section + "]\r\n" + section + "=1.2\r\n");
    EXPECT_EQ(ui::readFile(episodes).value_or("<none>"), "");

    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_FALSE(ui::fileExists(page));
}

} // namespace
