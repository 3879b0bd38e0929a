// The fetch client against a canned HTTP server, and the reply and URL helpers.
#include <gtest/gtest.h>

#include "OnlineSupport.h"
#include "common/TextCodec.h"
#include "online/AccountState.h"
#include "online/CWebGrab.h"
#include "online/ReplyText.h"
#include "online/ServiceUrl.h"

namespace kestrel::test {
namespace {

std::string Http(const std::string& statusLine, const std::string& headers,
                 const std::string& body) {
  return "HTTP/1.1 " + statusLine + "\r\n" + headers + "Connection: close\r\n\r\n" + body;
}

std::string Sized(const std::string& body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n";
}

struct ReplyCase {
  const char* name;
  std::string reply;
  std::string expectedBody;  // without the terminating zero
  unsigned status;
  std::vector<uint64_t> ranges;  // progress ranges set, in order
};

class RecordingProgress final : public FetchProgress {
 public:
  void SetRange(uint64_t maximum) override { ranges.push_back(maximum); }
  void SetPosition(uint64_t position) override { last = position; }
  std::vector<uint64_t> ranges;
  uint64_t last = 0;
};

TEST(WebGrabTest, RepliesAreReadWholeWithAZeroByteAfterThem) {
  const std::string withZero("ab\0cd", 5);
  const std::vector<ReplyCase> cases = {
      {"sized", Http("200 OK", Sized("hello"), "hello"), "hello", 200, {0, 5}},
      {"without length", Http("200 OK", "", "no length here"), "no length here", 200, {0}},
      {"empty", Http("200 OK", Sized(""), ""), "", 200, {0, 0}},
      {"error page",
       Http("404 Not Found", Sized("Page Not Found"), "Page Not Found"),
       "Page Not Found",
       404,
       {0, 14}},
      {"zero inside", Http("200 OK", Sized(withZero), withZero), withZero, 200, {0, 5}},
  };
  for (const ReplyCase& c : cases) {
    SCOPED_TRACE(c.name);
    CannedHttpServer server({c.reply});
    CWebGrab grab;
    RecordingProgress progress;
    FetchOptions options;
    options.progress = &progress;
    std::string buffer = "stale";
    ASSERT_TRUE(grab.Fetch(server.Url("/page"), buffer, options)) << grab.errorMessage();
    EXPECT_EQ(buffer, c.expectedBody + std::string(1, '\0'));
    EXPECT_EQ(grab.statusCode(), c.status);
    EXPECT_EQ(progress.ranges, c.ranges);
    EXPECT_EQ(progress.last, c.expectedBody.size());
    EXPECT_NE(grab.rawHeaders().find("HTTP/1.1"), std::string::npos);
  }
}

TEST(WebGrabTest, SendsTheUserAgentAndAskingForAFreshCopyOnlyWhenTold) {
  CannedHttpServer server({Http("200 OK", Sized("1"), "1"), Http("200 OK", Sized("2"), "2")});
  CWebGrab grab;
  std::string buffer;
  ASSERT_TRUE(grab.Fetch(server.Url("/a?id=x&pwd=y"), buffer));
  FetchOptions reload;
  reload.forceReload = true;
  ASSERT_TRUE(grab.Fetch(server.Url("/b"), buffer, reload));
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].rfind("GET /a?id=x&pwd=y HTTP/1.1\r\n", 0), 0u) << requests[0];
  EXPECT_NE(requests[0].find("User-Agent: DEMO\r\n"), std::string::npos);
  EXPECT_EQ(requests[0].find("no-cache"), std::string::npos);
  EXPECT_NE(requests[1].find("Cache-Control: no-cache"), std::string::npos);
}

TEST(WebGrabTest, FailsWhenNothingListensAndKeepsThePasswordOutOfItsError) {
  CWebGrab grab;
  std::string buffer = "stale";
  const std::string url =
      "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/net_Login_Future.php?id=u&pwd=hunter2";
  EXPECT_FALSE(grab.Fetch(url, buffer));
  EXPECT_TRUE(buffer.empty());
  EXPECT_FALSE(grab.errorMessage().empty());
  EXPECT_EQ(grab.errorMessage().find("hunter2"), std::string::npos);
}

TEST(WebGrabTest, AReplyAboveTheBoundOrAnAbortedFetchFails) {
  const std::string big(5000, 'x');
  CannedHttpServer server({Http("200 OK", Sized(big), big), Http("200 OK", "", big)});
  CWebGrab grab;
  FetchOptions small;
  small.maxBytes = 4096;
  std::string buffer;
  EXPECT_FALSE(grab.Fetch(server.Url("/sized"), buffer, small));
  EXPECT_FALSE(grab.Fetch(server.Url("/unsized"), buffer, small));

  grab.Abort();
  EXPECT_FALSE(grab.Fetch(server.Url("/any"), buffer));
}

TEST(ReplyTextTest, ShortRepliesReadTheFirst400BytesUpToAZero) {
  const std::string thousand(1000, '7');
  EXPECT_EQ(ReplyText(thousand + '\0'), thousand.substr(0, 400));
  EXPECT_EQ(FullReplyText(thousand + '\0'), thousand);
  EXPECT_EQ(ReplyText(std::string("ab\0cd\0", 6)), "ab");
  EXPECT_EQ(FullReplyText(std::string("ab\0cd\0", 6)), "ab");
  EXPECT_EQ(ReplyText(std::string(1, '\0')), "");
  EXPECT_EQ(ReplyText(""), "");
  EXPECT_EQ(ReplyText(Utf8ToCp950("該日期無資料") + '\0'), "該日期無資料");
  EXPECT_EQ(Utf8ReplyText(std::string(kUtf8Bom) + "訓練" + '\0'), "訓練");
  EXPECT_EQ(WithoutLineFeeds("\n3\n\r\n"), "3\r");
}

TEST(ServiceUrlTest, ValuesGoAsTypedExceptBytesThatBreakTheUrl) {
  const struct {
    std::string typed;
    std::string sent;
  } cases[] = {
      {"abc123", "abc123"},
      {"2013/05/07", "2013/05/07"},
      {"a b", "a%20b"},
      {"x&pwd=y", "x%26pwd=y"},
      {"50%#1", "50%25%231"},
      {"+-_.~!*'()", "+-_.~!*'()"},
      {"\xE5\xAD\xB8", "%E5%AD%B8"},
      {std::string("\x01\x7F", 2), "%01%7F"},
  };
  for (const auto& c : cases) EXPECT_EQ(EncodeUrlValue(c.typed), c.sent) << c.typed;

  AccountState account;
  account.userId = "student1";
  account.password = "p w&d";
  ServiceUrl url = AccountUrl("http://h:1", "net_StudentS3.asp", account);
  url.Param("dealLot", 3).Param("TotalLoss", -1200);
  EXPECT_EQ(url.str(),
            "http://h:1/net_StudentS3.asp?id=student1&pwd=p%20w%26d&dealLot=3&TotalLoss=-1200");
  EXPECT_EQ(ServiceUrl("http://h:1", "net_GetHisYear.asp").str(), "http://h:1/net_GetHisYear.asp");
  EXPECT_EQ(FileUrl("http://h:1", "/DATA/", "TICK_2013_05_07.zip"),
            "http://h:1/DATA/TICK_2013_05_07.zip");
}

TEST(ServiceUrlTest, PasswordsAreRedactedFromTexts) {
  EXPECT_EQ(RedactPassword("GET /x?id=a&pwd=secret&code=1 failed"),
            "GET /x?id=a&pwd=***&code=1 failed");
  EXPECT_EQ(RedactPassword("/x?PWD=secret"), "/x?PWD=***");
  EXPECT_EQ(RedactPassword("oldpwd=keep"), "oldpwd=keep");
}

}  // namespace
}  // namespace kestrel::test
