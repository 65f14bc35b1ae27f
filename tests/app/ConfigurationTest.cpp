#include "app/Configuration.h"
#include "text/Gbk.h"
#include "ui/Files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const std::string kSection = text::gbk("版本号");

TEST(Configuration, VersionRule) {
    struct Case {
        const char *stored, *kept;
    };
    for (const Case &c : {Case{"1.3", "1.3"}, Case{"2", "2"}, Case{"1.2000002", "1.2000002"}, Case{"1.1", "1.2"},
                          Case{"1.2", "1.2"}, Case{"1.20000001", "1.2"}, Case{"abc", "1.2"}, Case{"", "1.2"},
                          Case{"-5", "1.2"}})
        EXPECT_EQ(app::versionToKeep(c.stored), c.kept) << c.stored;
}

TEST(Configuration, StoredVersionIsKeptOrRewritten) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("config.ini").toStdString();
    struct Case {
        std::string fileText, version, fileAfter;
    };
    const std::string header = "[" + kSection + "]\r\n" + kSection + "=";
    const Case cases[] = {
        {header + "1.3\r\n", "1.3", header + "1.3\r\n"},
        {header + "1.1\r\n", "1.2", header + "1.2\r\n"},
        {header + text::gbk("新版") + "\r\n", "1.2", header + "1.2\r\n"},
        {header + "1.2\r\n", "1.2", header + "1.2\r\n"},
        // Other sections and keys survive the rewrite.
        {"[other]\r\nk=v\r\n", "1.2", "[other]\r\nk=v\r\n\r\n" + header + "1.2\r\n"},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(ui::writeFile(path, c.fileText));
        EXPECT_EQ(app::loadLocalVersion(path), c.version) << c.fileText;
        EXPECT_EQ(ui::readFile(path).value_or("<none>"), c.fileAfter) << c.fileText;
    }
}

TEST(Configuration, MissingFileIsCreatedAndNoFolderWritesNothing) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("config.ini").toStdString();
    EXPECT_EQ(app::loadLocalVersion(path), "1.2");
    EXPECT_EQ(ui::readFile(path).value_or(""), "[" + kSection + "]\r\n" + kSection + "=1.2\r\n");
    EXPECT_EQ(app::loadLocalVersion(""), "1.2");
    EXPECT_EQ(app::loadLocalVersion(dir.filePath("missing/config.ini").toStdString()), "1.2");
}

} // namespace
