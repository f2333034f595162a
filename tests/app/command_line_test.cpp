#include "app/command_line.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(CommandLine, ArgumentsJoinWithBlanksAndQuotesWhereNeeded) {
    EXPECT_EQ(JoinCommandLine({}), QString());
    EXPECT_EQ(JoinCommandLine({u"--GoProject5"_s, u"my file"_s, QString()}),
              u"--GoProject5 \"my file\" \"\""_s);
}
