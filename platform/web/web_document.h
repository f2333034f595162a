#pragma once

#include <QString>
#include <memory>

namespace plat {

// What a web view shares with the handles to its documents: the page's address and title as last reported,
// and how many loads have begun.
struct WebDocumentState {
    QString url;
    QString title;
    unsigned loads = 0;
};

// A handle to the document a web view had loaded when the handle was taken. It answers for that document
// only: once the view has begun another load, or has gone, it is no longer valid and answers empty texts.
class WebDocument {
  public:
    WebDocument() = default;
    WebDocument(std::shared_ptr<const WebDocumentState> state, unsigned load)
        : m_state(std::move(state)), m_load(load) {}

    bool isValid() const;
    QString url() const;
    QString title() const;

  private:
    std::weak_ptr<const WebDocumentState> m_state;
    unsigned m_load = 0;
};

} // namespace plat
