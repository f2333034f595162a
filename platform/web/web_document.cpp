#include "platform/web/web_document.h"

namespace plat {

bool WebDocument::isValid() const {
    const std::shared_ptr<const WebDocumentState> state = m_state.lock();
    return state && state->loads == m_load;
}

QString WebDocument::url() const {
    return isValid() ? m_state.lock()->url : QString();
}

QString WebDocument::title() const {
    return isValid() ? m_state.lock()->title : QString();
}

} // namespace plat
