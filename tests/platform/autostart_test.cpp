// Reading the command back from entries, including ones other tools wrote.
#include "platform/autostart.h"

#include <gtest/gtest.h>

namespace {

TEST(AutostartEntryTest, WrittenCommandReadsBackExactly) {
    for (const std::string& command : {std::string("/usr/bin/olvo-reminder"), std::string(" leading space"),
                                       std::string("a\\s b\\\\c\td\ne\r"), std::string()}) {
        std::string read = "stale";
        ASSERT_TRUE(ParseAutostartExec(FormatAutostartEntry("Olvo", command), read)) << command;
        EXPECT_EQ(read, command);
    }
}

TEST(AutostartEntryTest, ReadsOnlyTheEntryGroupsPlainExecKey) {
    const std::string foreign = "# made by hand\n"
                                "[Desktop Action Quit]\nExec=/bin/false\n"
                                "[Desktop Entry]\r\n"
                                "Exec[de]=/bin/german\n"
                                "ExecStart=/bin/other\n"
                                "  Exec =  /opt/app --flag\r\n"
                                "Exec=/bin/second\n";
    std::string command;
    ASSERT_TRUE(ParseAutostartExec(foreign, command));
    EXPECT_EQ(command, "/opt/app --flag");

    EXPECT_FALSE(ParseAutostartExec("[Desktop Action Quit]\nExec=/bin/false\n", command));
    EXPECT_FALSE(ParseAutostartExec("", command));
}

}  // namespace
