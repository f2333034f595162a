#include "net/downloader.h"
#include "parsers/whois_creation_date.h"

#include <gtest/gtest.h>
#include <limits>

using namespace Qt::StringLiterals;
using CDownloader_Parsers::ParseWhoisCreationDate;

namespace {

TEST(WhoisCreationDate, CommonRegistryFormats) {
    const struct {
        const char* reply;
        int value;
    } cases[] = {
        {"domain: example.test\ncreated: 15-mar-2005\n", 150305},
        {"Domain Name: EXAMPLE.COM\r\nCreation Date: 2005-03-15T04:00:00Z\r\n", 20050315},
        {"Domain Name: EXAMPLE.COM\r\n\r\nRegistrar: X\r\n\r\nCreated On: 1997-Sep-15\r\n", 19970915},
        {"   Record created on 2001.12.03 10:21:00\n", 20011203},
        {"Domain created: 14 August 1995\n", 140895},
        {"creation date: 2019/07/04", 20190704},
        // The first "creat" line has no date; the next one does.
        {"NOTICE: records are created by the registrar.\ncreated:     2010-11-12\n", 20101112},
        {"Registrar: Creative Names Ltd\nRegistered: 2010-11-12\nCreated: 09.06.2011\n", 90611},
        // Only two numbers on every "creat" line.
        {"created: 2005-03\ncreated: march 2005\n", 0},
        {"Domain Name: EXAMPLE.COM\r\nRegistered on: 2005-03-15\r\n", 0},
        {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseWhoisCreationDate(QString::fromUtf8(c.reply)), c.value) << c.reply;
}

TEST(WhoisCreationDate, HugeNumbersAreHeldToAnInt) {
    EXPECT_EQ(ParseWhoisCreationDate(u"created: 99999999999-1-1"_s), std::numeric_limits<int>::max());
    // Each number saturates alone, and the sum does not wrap.
    EXPECT_EQ(ParseWhoisCreationDate(u"created: 21474836 99 99"_s), std::numeric_limits<int>::max());
    EXPECT_EQ(ParseWhoisCreationDate(u"created: 21474 1 99999999999"_s), 214740100 + 47);
}

// Reading a downloader before it has finished gives no date; its finished body is read in the kind 4 run.
TEST(WhoisCreationDate, UnfinishedDownloaderGivesNoDate) {
    CDownloader holder(-1);
    EXPECT_EQ(ParseWhoisCreationDate(holder), 0);
}

} // namespace
