#pragma once

#include <QString>
#include <QStringView>
#include <atomic>
#include <utility>

// Characters that the texts of many nodes share: a parsed document, a block of texts the parser had to
// change while reading it, or one text on its own.
struct HtmlTextBlock {
    std::atomic<int> refs{1};
    QString chars;
};

// The text of one node: a stretch of a shared block, which it keeps alive. A parsed page's nodes point into
// the page itself wherever their text stands there unchanged, so they cost neither an allocation nor a copy
// each, and releasing them frees no text one by one.
//
// It also keeps four bits for the node that owns it (its flags), so a node is no larger than its parts.
// Construction copies them along; assigning another text leaves them as they are.
class HtmlNodeText {
  public:
    HtmlNodeText() = default;
    // A text on its own, sharing text's characters.
    explicit HtmlNodeText(const QString& text);
    // size characters of block from offset on; takes a reference to the block.
    HtmlNodeText(HtmlTextBlock* block, qsizetype offset, qsizetype size) {
        if (size <= 0)
            return;
        if (size >= kWhole) {
            *this = HtmlNodeText(QString(block->chars.constData() + offset, size));
            return;
        }
        m_block = block;
        m_offset = quint32(offset);
        m_sizeAndBits = quint32(size);
        m_block->refs.fetch_add(1, std::memory_order_relaxed);
    }
    // Texts up to this long are stretches of a shared block; longer ones get a block of their own.
    static constexpr qsizetype kLongestStretch = (qsizetype(1) << 28) - 2;
    // The same, taking over a reference to the block that the caller holds already: a parser that makes a
    // million texts of one block takes its references in batches instead of one by one. size is above 0 and
    // no more than kLongestStretch.
    static HtmlNodeText Adopting(HtmlTextBlock* block, qsizetype offset, qsizetype size) {
        HtmlNodeText text;
        text.m_block = block;
        text.m_offset = quint32(offset);
        text.m_sizeAndBits = quint32(size);
        return text;
    }
    HtmlNodeText(const HtmlNodeText& other) noexcept
        : m_block(other.m_block), m_offset(other.m_offset), m_sizeAndBits(other.m_sizeAndBits) {
        if (m_block)
            m_block->refs.fetch_add(1, std::memory_order_relaxed);
    }
    HtmlNodeText(HtmlNodeText&& other) noexcept
        : m_block(std::exchange(other.m_block, nullptr)), m_offset(other.m_offset),
          m_sizeAndBits(other.m_sizeAndBits) {}
    HtmlNodeText& operator=(const HtmlNodeText& other) noexcept;
    HtmlNodeText& operator=(HtmlNodeText&& other) noexcept {
        if (this != &other) {
            HtmlTextBlock* old = std::exchange(m_block, std::exchange(other.m_block, nullptr));
            m_offset = other.m_offset;
            m_sizeAndBits = (other.m_sizeAndBits & kWhole) | (m_sizeAndBits & ~kWhole);
            if (old)
                Release(old);
        }
        return *this;
    }
    ~HtmlNodeText() {
        if (m_block)
            Release(m_block);
    }

    QStringView View() const {
        return m_block ? QStringView(m_block->chars.constData() + m_offset, Size()) : QStringView();
    }
    qsizetype Size() const {
        if (!m_block)
            return 0;
        const quint32 size = m_sizeAndBits & kWhole;
        return size == kWhole ? m_block->chars.size() : qsizetype(size);
    }
    bool IsEmpty() const { return m_block == nullptr; }
    // As a QString of its own; a text that fills its whole block shares the block's characters.
    QString ToString() const;

    quint32 OwnerBits() const { return m_sizeAndBits >> kSizeBits; }
    void SetOwnerBits(quint32 bits) { m_sizeAndBits = (m_sizeAndBits & kWhole) | (bits << kSizeBits); }

  private:
    static void Release(HtmlTextBlock* block) noexcept;

    static constexpr int kSizeBits = 28;
    // The largest size field: the text is the whole of its block (texts this long have a block of their own).
    static constexpr quint32 kWhole = (1u << kSizeBits) - 1;
    static_assert(kLongestStretch == kWhole - 1);

    HtmlTextBlock* m_block = nullptr; // null for the empty text
    quint32 m_offset = 0;
    quint32 m_sizeAndBits = 0;
};

// Where the parser puts the texts it changes (folded white space, decoded entities): blocks written one
// text after another.
class HtmlTextArena {
  public:
    // expectedChars: about how much text may come; the first block is no larger than that needs.
    explicit HtmlTextArena(qsizetype expectedChars) : m_expected(expectedChars) {}
    HtmlTextArena(const HtmlTextArena&) = delete;
    HtmlTextArena& operator=(const HtmlTextArena&) = delete;
    ~HtmlTextArena();

    // Room for up to length characters, valid until the next call; Commit(n) makes the first n a text.
    char16_t* Reserve(qsizetype length);
    HtmlNodeText Commit(qsizetype length);
    HtmlNodeText Add(QStringView text);

  private:
    HtmlTextBlock* m_block = nullptr; // the arena's own reference
    char16_t* m_chars = nullptr;      // m_block's characters
    qsizetype m_used = 0;
    qsizetype m_expected;
    qsizetype m_blockChars = 0; // the size of the last block made for many texts
};
