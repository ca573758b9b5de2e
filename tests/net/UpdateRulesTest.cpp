// The update check's decisions: versions, the site list's day arithmetic, the trust given to a
// content length, the body read loop and the address overrides.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/BodyReader.h"
#include "net/UpdateRules.h"
#include "net/WebAddresses.h"
#include "tests/support/LogCapture.h"

namespace {

TEST(UpdateRules, VersionTextIsHexadecimalAndComparedUnsigned) {
  struct Case {
    const char* text;
    bool newer;
  } cases[] = {
      {"10400", false},     {"10500", true},      {"2", false},          {"10401", true},
      {"103FF", false},     {"0x10500", true},    {"  10500\r\n", true}, {"10500 beta", true},
      {"FFFFFFFF", true},   {"100000000", false}, {"", false},           {"abc!", false},
      {"x10500", false},    {"-10500", false},    {"0x", false},         {"\r\n", false},
      {"000010500", true},  {"0", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.newer, qv::IsNewerVersion(c.text)) << '"' << c.text << '"';
  uint32_t version = 0;
  ASSERT_TRUE(qv::ParseVersionText("1a2B3c", &version));
  EXPECT_EQ(0x1a2b3cu, version);
  EXPECT_FALSE(qv::ParseVersionText("zz", &version));
  EXPECT_TRUE(qv::IsNewerVersion("2", 1));
}

TEST(UpdateRules, SiteListIsDueAfterMoreThanFourDaysCountingThirtyDayMonths) {
  struct Case {
    int today, refreshDay;
    bool due;
  } cases[] = {
      {2, 28, false},  // 32 - 28 = 4
      {3, 28, true},   // 33 - 28 = 5
      {5, 1, false},   {6, 1, true},    {1, 1, false},  {31, 26, true}, {30, 26, false},
      {1, 0, true},                     // never fetched
      {15, 31, true},  {15, 200, true}, // no day of a month
      {1, 30, false},  {5, 30, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.due, qv::SiteListDue(c.today, c.refreshDay)) << c.today << " / " << c.refreshDay;
}

TEST(UpdateRules, ContentLengthIsBelievedOnlyAsPlainDigitsUnderTheCap) {
  struct Case {
    const char* text;
    bool ok;
    std::size_t length;
  } cases[] = {
      {"5", true, 5},       {"0", true, 0},       {" 12 ", true, 12},  {"1048576", true, 1048576},
      {"1048577", false, 0}, {"abc", false, 0},   {"-5", false, 0},    {"+5", false, 0},
      {"", false, 0},       {"99999999999", false, 0}, {"5x", false, 0}, {"1 2", false, 0},
      {"184467440737095516160", false, 0},
  };
  for (const Case& c : cases) {
    std::size_t length = 77;
    EXPECT_EQ(c.ok, qv::ParseContentLength(c.text, qv::kMaxBodyBytes, &length)) << c.text;
    if (c.ok) EXPECT_EQ(c.length, length) << c.text;
  }
  std::size_t length = 0;
  EXPECT_FALSE(qv::ParseContentLength(nullptr, 10, &length));
}

// Hands out the chunks one read at a time; nothing past the last one.
struct ChunkedServer {
  std::vector<std::string> chunks;
  std::size_t next = 0;
  bool failAtEnd = false;
  std::vector<std::size_t> asked;
  qv::BodyRead Reader() {
    return [this](char* buffer, std::size_t size, std::size_t* read) {
      asked.push_back(size);
      if (next == chunks.size()) {
        *read = 0;
        return !failAtEnd;
      }
      const std::string& chunk = chunks[next++];
      std::size_t n = chunk.size() < size ? chunk.size() : size;
      chunk.copy(buffer, n);
      *read = n;
      return true;
    };
  }
};

TEST(BodyReader, ReadsUntilTheLengthArrivesOverShortReads) {
  ChunkedServer server{{"10", "5", "00"}};
  EXPECT_EQ("10500", qv::ReadBody(5, server.Reader()));
  EXPECT_EQ((std::vector<std::size_t>{5, 3, 2}), server.asked);
}

TEST(BodyReader, AShorterBodyGivesWhatArrivedAndNeverMore) {
  ChunkedServer ended{{"short"}};
  EXPECT_EQ("short", qv::ReadBody(100, ended.Reader()));
  ChunkedServer cut{{"sho", "rt"}, 0, true};
  EXPECT_EQ("short", qv::ReadBody(100, cut.Reader()));
  ChunkedServer longer{{"10500 and more"}};
  EXPECT_EQ("105", qv::ReadBody(3, longer.Reader()));
  ChunkedServer none{{}};
  EXPECT_EQ("", qv::ReadBody(0, none.Reader()));
  EXPECT_TRUE(none.asked.empty());
}

TEST(BodyReader, TheTextEndsAtItsFirstZeroByte) {
  ChunkedServer server{{std::string("105\0" "00", 6)}};
  EXPECT_EQ("105", qv::ReadBody(6, server.Reader()));
}

TEST(BodyReader, AReaderClaimingMoreThanItsRoomIsCutAtTheLength) {
  qv::BodyRead liar = [](char* buffer, std::size_t size, std::size_t* read) {
    std::string(size, 'a').copy(buffer, size);
    *read = size + 1000;
    return true;
  };
  EXPECT_EQ("aaaa", qv::ReadBody(4, liar));
}

TEST(WebAddresses, BuiltInAddressesStandWhenNothingIsSet) {
  qv::WebAddresses a = qv::MakeWebAddresses(nullptr, "");
  EXPECT_EQ("http://www.quorvex.com/quorvex/version.txt", a.VersionFile());
  EXPECT_EQ("http://www.quorvex.com/quorvex/whatsnew.txt", a.WhatsNewFile());
  EXPECT_EQ("http://www.quorvex.com/tk/wpsitelist.txt", a.SiteListFile());
  EXPECT_EQ("http://www.quorvex.com/download.html#quorvex", a.DownloadPage());
  EXPECT_EQ("http://www.quorvex.com/", a.HomePage());
  EXPECT_EQ(qv::kDefaultProbeHost, a.probeHost);
}

TEST(WebAddresses, OverridesPointBothElsewhereAndBadOnesAreRefusedAndLogged) {
  qv::WebAddresses a = qv::MakeWebAddresses("http://127.0.0.1:8080/mirror/", "localhost");
  EXPECT_EQ("http://127.0.0.1:8080/mirror/quorvex/version.txt", a.VersionFile());
  EXPECT_EQ("http://127.0.0.1:8080/mirror/download.html#quorvex", a.DownloadPage());
  EXPECT_EQ("localhost", a.probeHost);
  EXPECT_EQ("https://m.example/q", qv::MakeWebAddresses("https://m.example/q", nullptr).base);

  for (const char* bad : {"ftp://x", "127.0.0.1", "http://", "http:///path", "http://a b",
                          "http://x/?q", "file://c:/x"}) {
    qvtest::LogCapture log;
    EXPECT_EQ(qv::kDefaultWebBase, qv::MakeWebAddresses(bad, nullptr).base) << bad;
    EXPECT_EQ(1u, log.lines().size()) << bad;
  }
  const std::string tooLong(300, 'a');
  for (const char* bad : {"http://host", "a b", "host:80", tooLong.c_str()}) {
    qvtest::LogCapture log;
    EXPECT_EQ(qv::kDefaultProbeHost, qv::MakeWebAddresses(nullptr, bad).probeHost) << bad;
    EXPECT_EQ(1u, log.lines().size());
  }
}

}  // namespace
