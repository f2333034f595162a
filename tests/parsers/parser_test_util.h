#pragma once

#include "net/downloader.h"
#include "tests/support/qstring_printer.h"

#include <QString>
#include <gtest/gtest.h>
#include <memory>

namespace parser_test {

inline QString S(const char16_t* text) {
    return QString::fromUtf16(text);
}

// A document holder (no thread, no socket) whose last reply is page, run through the real response
// processing as a downloaded HTML page, so it ends finished with body text and a page tree.
inline std::unique_ptr<CDownloader> DownloadedPage(const QByteArray& page) {
    auto downloader = std::make_unique<CDownloader>(-1);
    const QByteArray reply = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n\r\n" + page;
    downloader->ProcessResponse(reply,
                                CDownloader::kRequestGet | CDownloader::kKeepText | CDownloader::kBuildTree,
                                QStringLiteral("http://127.0.0.1/search?q=x"));
    EXPECT_TRUE(downloader->IsFinished());
    return downloader;
}

// A synthetic page: doctype, head and body around the given body markup.
inline QByteArray HtmlPage(const QByteArray& bodyMarkup) {
    return "<!DOCTYPE html>\n<html><head><title>results</title></head><body>\n" + bodyMarkup +
           "\n</body></html>\n";
}

} // namespace parser_test
