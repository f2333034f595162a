#include "net/html_node_text.h"

#include <algorithm>
#include <cstring>

namespace {

// Large enough that blocks are rare, small enough that the unused end of the last one does not matter.
constexpr qsizetype kArenaBlockChars = 32 * 1024;

} // namespace

HtmlNodeText::HtmlNodeText(const QString& text) {
    if (text.isEmpty())
        return;
    m_block = new HtmlTextBlock;
    // A string over characters it does not own (QString::fromRawData) is copied: they may go before the
    // node does.
    m_block->chars = text.data_ptr().isMutable() ? text : QString(text.constData(), text.size());
    m_sizeAndBits = quint32(std::min<qsizetype>(text.size(), kWhole));
}

HtmlNodeText& HtmlNodeText::operator=(const HtmlNodeText& other) noexcept {
    HtmlNodeText copy(other);
    return *this = std::move(copy);
}

void HtmlNodeText::Release(HtmlTextBlock* block) noexcept {
    if (block->refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete block;
}

QString HtmlNodeText::ToString() const {
    if (!m_block)
        return QString();
    if (m_offset == 0 && Size() == m_block->chars.size())
        return m_block->chars;
    return View().toString();
}

HtmlTextArena::~HtmlTextArena() {
    if (m_block && m_block->refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete m_block;
}

char16_t* HtmlTextArena::Reserve(qsizetype length) {
    if (!m_block || m_used + length > m_block->chars.size()) {
        if (m_block && m_block->refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete m_block;
        // The first block holds what is expected; once the expectation is used up, blocks double, so a
        // page that changes more text than expected still gets few. A text longer than a block gets a
        // block of its own size.
        m_blockChars = std::clamp<qsizetype>(std::max(m_expected, 2 * m_blockChars), 16, kArenaBlockChars);
        const qsizetype size = std::max(length, m_blockChars);
        m_block = new HtmlTextBlock;
        m_block->chars = QString(size, Qt::Uninitialized);
        m_chars = reinterpret_cast<char16_t*>(m_block->chars.data());
        m_used = 0;
    }
    return m_chars + m_used;
}

HtmlNodeText HtmlTextArena::Commit(qsizetype length) {
    HtmlNodeText text(m_block, m_used, length);
    m_used += length;
    m_expected -= std::min(m_expected, length);
    return text;
}

HtmlNodeText HtmlTextArena::Add(QStringView text) {
    char16_t* to = Reserve(text.size());
    std::memcpy(to, text.utf16(), size_t(text.size()) * sizeof(char16_t));
    return Commit(text.size());
}
