// https through the socket client: verification against an authority the test makes, the
// reason of a refusal, and redirects between http and https.
#include <gtest/gtest.h>

#include "net/TNMHTTP.h"
#include "support/TempFolder.h"
#include "support/TestWebServer.h"

namespace pagelathe {
namespace {

using namespace testing;  // the test web server, its replies and helpers

TEST(Tls, CertificatesAreVerifiedAndRefusalsSayWhy) {
  testing::TempFolder folder;
  std::string error;
  ASSERT_TRUE(testing::MakeTestAuthority(folder.Path(), error)) << error;
  const auto page = [](const TestRequest& r) {
    return TestReply{HttpReply(r, 200, "", "secret page"), true};
  };
  TestWebServer good(page, folder / "good.pem", folder / "good.key");
  TestWebServer wrong(page, folder / "wrong.pem", folder / "wrong.key");
  struct Case {
    std::string url;
    std::string ca_file;
    std::string error;  // empty: the body arrives
  };
  const Case cases[] = {
      {good.Url("/"), folder / "ca.pem", ""},
      {good.Url("/"), "", "certificate verify failed: the certificate's authority is not trusted"},
      {wrong.Url("/"), folder / "ca.pem",
       "certificate verify failed: the certificate is not for this host (127.0.0.1)"},
      {good.Url("/"), folder / "none.pem",
       "Cannot read the certificate authority file " + folder / "none.pem" +
           ": No such file or directory"},
      {good.Url("/"), folder / "good.ext", "Cannot read the certificate authority file"},
  };
  for (const Case& c : cases) {
    TNMHTTP http;
    http.Tls.ca_file = c.ca_file;
    if (c.error.empty()) {
      http.Get(c.url);
      EXPECT_EQ(http.Body, "secret page");
      EXPECT_EQ(http.ReplyCode, 200);
    } else {
      try {
        http.Get(c.url);
        ADD_FAILURE() << c.url << " was fetched";
      } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
      }
    }
  }
}

TEST(Tls, RedirectsGoBetweenHttpAndHttps) {
  testing::TempFolder folder;
  std::string error;
  ASSERT_TRUE(testing::MakeTestAuthority(folder.Path(), error)) << error;
  std::string plain_url;
  TestWebServer secure(
      [&plain_url](const TestRequest& r) {
        if (r.target == "/back")
          return TestReply{HttpReply(r, 302, "Location: " + plain_url + "\r\n"), true};
        return TestReply{HttpReply(r, 200, "", "over tls"), true};
      },
      folder / "good.pem", folder / "good.key");
  TestWebServer plain([&secure](const TestRequest& r) {
    if (r.target == "/up")
      return TestReply{HttpReply(r, 301, "Location: " + secure.Url("/page") + "\r\n"), true};
    return TestReply{HttpReply(r, 200, "", "plain again"), true};
  });
  plain_url = plain.Url("/end");
  TNMHTTP http;
  http.Tls.ca_file = folder / "ca.pem";
  http.Get(plain.Url("/up"));
  EXPECT_EQ(http.Body, "over tls");
  http.Get(secure.Url("/back"));
  EXPECT_EQ(http.Body, "plain again");
  EXPECT_EQ(plain.Seen("/end").size(), 1U);
}

}  // namespace
}  // namespace pagelathe
