// What the web and mail launching opens: the browser's command line, the
// address of a web page with its query, and the support e-mail's texts.
#pragma once

#include <string>
#include <string_view>

namespace velmora::web {

// "The web browser could not be started, please visit the " + address.
std::string BrowserFailureText(std::string_view address);

// The registered open command of the http class, cut before "-nohome" when
// it holds it, then a blank and the address; a "%1" left in the command
// takes the address in its place instead.
std::string BrowserCommandLine(std::string_view registeredCommand, std::string_view address);

// base + query of the product, the version and (when not empty) the source;
// blanks in the query are escaped.
std::string WebPageAddress(std::string_view base, std::string_view source);

// The maker's download page.
std::string DownloadPageAddress();

struct LocalDateTime {
    int year = 0;
    int month = 0;  // counted from 1
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Product and version, then a fixed suffix; at most 255 characters.
std::string SupportMailSubject();

// The text that follows the system report on the clipboard.
std::string SupportMailMessage(std::string_view subject, const LocalDateTime& now);

// The mailto address with the subject, blanks escaped.
std::string SupportMailAddress(std::string_view subject);

}  // namespace velmora::web
