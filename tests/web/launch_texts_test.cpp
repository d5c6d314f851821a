// The browser command line, web page addresses and the support e-mail.
#include <gtest/gtest.h>

#include "web/launch_texts.h"
#include "web/web_texts.h"

namespace velmora::web {
namespace {

TEST(BrowserCommandLineTest, CutsTheNoHomeSwitchAndAddsTheAddress) {
    struct Case {
        const char* registered;
        const char* expected;
    } const cases[] = {
        {"\"C:\\path\\browser.exe\" -nohome -foo", "\"C:\\path\\browser.exe\" http://a/b"},
        {"\"C:\\path\\browser.exe\"", "\"C:\\path\\browser.exe\" http://a/b"},
        {"browser.exe -nohome", "browser.exe http://a/b"},
        {"\"C:\\b.exe\" -url \"%1\"", "\"C:\\b.exe\" -url \"http://a/b\""},
        {"", " http://a/b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BrowserCommandLine(c.registered, "http://a/b"), c.expected) << c.registered;
    }
}

TEST(WebPageAddressTest, CarriesProductVersionAndSource) {
    const std::string base = DownloadPageAddress();
    EXPECT_EQ(WebPageAddress(base, ""), base + "?product=Velmora&version=1.1");
    EXPECT_EQ(WebPageAddress(base, "new version"),
              base + "?product=Velmora&version=1.1&source=new%20version");
}

TEST(SupportMailTest, SubjectMessageAndAddress) {
    const std::string subject = SupportMailSubject();
    const std::string message = SupportMailMessage(subject, {2026, 3, 4, 5, 6, 7});
    EXPECT_NE(message.find(subject), std::string::npos);
    EXPECT_NE(message.find("2026-03-04 05:06:07"), std::string::npos);
    const std::string address = SupportMailAddress(subject);
    EXPECT_EQ(address.rfind("mailto:support@", 0), 0u);
    EXPECT_NE(address.find("Velmora%201.1%20support%20request"), std::string::npos);
    EXPECT_EQ(address.find(' '), std::string::npos);
}

}  // namespace
}  // namespace velmora::web
