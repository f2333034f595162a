#pragma once

#include <functional>
#include <memory>

namespace plat {

class Window;

// Calls back once, the first time the window system shows any part of the window (start-up timing).
class FirstExposeWatch {
  public:
    FirstExposeWatch(const Window& window, std::function<void()> exposed);
    FirstExposeWatch(const FirstExposeWatch&) = delete;
    FirstExposeWatch& operator=(const FirstExposeWatch&) = delete;
    ~FirstExposeWatch();

  private:
    class Filter;
    std::unique_ptr<Filter> m_filter;
};

} // namespace plat
