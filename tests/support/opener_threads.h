#pragma once

#include "core/headless_platform_services.h"

#include <mutex>
#include <thread>
#include <vector>

namespace twtest {

// Headless platform services that also note the thread that opened each page.
class OpenerThreads : public HeadlessPlatformServices {
  public:
    void OpenUrl(const QString& url) override {
        const std::lock_guard guard(openLock);
        openers.push_back(std::this_thread::get_id());
        HeadlessPlatformServices::OpenUrl(url);
    }

    std::mutex openLock;
    std::vector<std::thread::id> openers; // read once the launches are over
};

} // namespace twtest
