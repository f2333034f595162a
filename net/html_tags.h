#pragma once

#include "net/html_node_text.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct HtmlTextSink;
struct HtmlTextChanges;
class Utf8Writer;

// What FindAll and FindFirst look for. Criteria left empty are not tested; the others must all hold.
// Meant for designated initialisers, so every value says what it is: {.tag = u"div"_s, .id = u"main"_s};
// the "= {}" lets a call leave out any of them without a warning.
struct FindCriteria {
    QString tag = {};       // the element name, any case
    QString className = {}; // one of the names in the CLASS attribute, any case
    QString id = {};        // the whole ID attribute, any case
    QString name = {};      // the whole NAME attribute, any case
    QString attribute = {}; // an attribute that must have a non-empty value
};

// One node of the tree that models every fetched page and every saved file: an element that keeps its
// raw opening tag, or a text node (also former comments and CDATA sections). Children are held by value.
//
// Deep trees are normal input (a hostile page can nest 100,000 elements), so copying, destroying,
// searching and writing never recurse.
//
// Pointers handed out by FindAll, FindFirst and AddChild point into the children arrays: they stay valid
// until the tree changes (another AddChild on the same parent included).
class CDownloader_HTMLTags {
  public:
    // How values are written: saved files escape them so every value reads back exactly; a re-serialised
    // HTML template keeps its markup as it stood.
    enum class Escaping { None, Values };

    CDownloader_HTMLTags() = default;
    CDownloader_HTMLTags(const CDownloader_HTMLTags& other);
    CDownloader_HTMLTags(CDownloader_HTMLTags&& other) noexcept = default;
    CDownloader_HTMLTags& operator=(const CDownloader_HTMLTags& other);
    CDownloader_HTMLTags& operator=(CDownloader_HTMLTags&& other) noexcept;
    // Inline: a parse moves every node at least once, and most destroyed nodes are moved-from and empty.
    ~CDownloader_HTMLTags() {
        if (!m_children.empty())
            ReleaseChildren();
    }

    // --- parsing ---
    // Replaces this node's content with the tree parsed from text; this node becomes the root. Never fails:
    // whatever tree the text allows is built, in time linear in the text.
    void Parse(const QString& text);
    // The same, making at most maxNodes nodes: false when the text held more, and the tree then stops
    // where the budget ran out.
    bool Parse(const QString& text, std::size_t maxNodes);
    // Parse, answering whether the text was nested as the saved-file writer nests it: every element closed by
    // its own end tag, innermost first (void and self-closing tags need none), no end tag without its start
    // tag, and no tag cut off. Either way the tree is the one Parse builds.
    bool ParseNested(const QString& text);
    // The per-node clean-up the parser applies before appending a node.
    void Normalize();

    // --- queries (this node must exist; FindFirst's result may be null) ---
    // The element name from the tag text; empty for a text node.
    QString GetTagName(bool upper) const;
    // The value of an attribute in the raw tag text (names ignore case; values are not decoded).
    QString GetAttribute(const QString& name) const;
    // Matching nodes at and below this one in document order; the descendants of a match are not searched.
    // Only parsed elements take part (nodes built by AddChild are never found).
    void FindAll(std::vector<CDownloader_HTMLTags*>& out, const FindCriteria& criteria, bool clear = true);
    void FindAll(std::vector<const CDownloader_HTMLTags*>& out, const FindCriteria& criteria,
                 bool clear = true) const;
    CDownloader_HTMLTags* FindFirst(const FindCriteria& criteria);
    const CDownloader_HTMLTags* FindFirst(const FindCriteria& criteria) const;
    // The same queries with the criteria by position, in the order tag, class, id, name, attribute.
    void FindAll(std::vector<CDownloader_HTMLTags*>& out, const QString& tag, const QString& classValue = {},
                 const QString& idValue = {}, const QString& nameValue = {},
                 const QString& attributeName = {}, bool clear = true) {
        FindAll(out, FindCriteria{tag, classValue, idValue, nameValue, attributeName}, clear);
    }
    void FindAll(std::vector<const CDownloader_HTMLTags*>& out, const QString& tag,
                 const QString& classValue = {}, const QString& idValue = {}, const QString& nameValue = {},
                 const QString& attributeName = {}, bool clear = true) const {
        FindAll(out, FindCriteria{tag, classValue, idValue, nameValue, attributeName}, clear);
    }
    CDownloader_HTMLTags* FindFirst(const QString& tag, const QString& classValue = {},
                                    const QString& idValue = {}, const QString& nameValue = {},
                                    const QString& attributeName = {}) {
        return FindFirst(FindCriteria{tag, classValue, idValue, nameValue, attributeName});
    }
    const CDownloader_HTMLTags* FindFirst(const QString& tag, const QString& classValue = {},
                                          const QString& idValue = {}, const QString& nameValue = {},
                                          const QString& attributeName = {}) const {
        return FindFirst(FindCriteria{tag, classValue, idValue, nameValue, attributeName});
    }
    // Whether FindFirst({.tag = tag}) takes this node itself, before anything below it.
    bool MatchesTag(const QString& tag) const;
    // FindFirst({.tag = tags[i]}) for each i into first (null where there is none), in one walk that takes
    // each element's name apart once: a saved row is read key by key.
    void FindFirstOfEach(std::span<const QString> tags, std::span<const CDownloader_HTMLTags*> first) const;
    // excludedTags: names whose elements give no text, each written with a space before and after it,
    // as in " CITE TABLE A " (empty: none). lineBreaks: BR gives CR LF and child texts are kept apart by a
    // space.
    QString GetInnerText(bool lineBreaks, const QString& excludedTags = {}) const;

    // --- typed value store ---
    // reuse: one value per name (an existing child of that name, any case, is emptied and returned).
    CDownloader_HTMLTags* AddChild(const QString& name, bool reuse);
    bool SetText(const QString& text);
    // Appends markup as a saved file writes it (Serialize with escaped values, no indent), to be written as
    // it stands wherever it ends up, its lines indented to that depth. For records that are only written:
    // a large project would otherwise make and free a node for every value. Queries see nothing in it.
    void AddPrewritten(const QString& markup);
    bool SetInt(int value);
    bool SetFloat(float value);
    bool SetBool(bool value);
    // The getters read a value element that is usually a FindFirst result, so they accept null.
    static bool GetInt(const CDownloader_HTMLTags* node, int& out, int defaultValue);
    static bool GetFloat(const CDownloader_HTMLTags* node, float& out, float defaultValue);
    static bool GetBool(const CDownloader_HTMLTags* node, bool& out, bool defaultValue);
    static bool GetString(const CDownloader_HTMLTags* node, QString& out, const QString& defaultValue);
    static bool GetString(const CDownloader_HTMLTags* node, QString& out); // out untouched when missing

    // --- direct children ---
    // A saved file keeps each key directly below its owner, and an element of the same name deeper down is
    // another owner's. These look one level down only, take elements (never text) by name in any letter
    // case, and compare names in place: a large project reads several keys of every record.
    bool IsElementNamed(QStringView name) const;
    // The first direct child named name, or null.
    const CDownloader_HTMLTags* FindChild(QStringView name) const;
    CDownloader_HTMLTags* FindChild(QStringView name);
    // The first direct child named like each of names into first (null where there is none), in one pass.
    void FindChildren(std::span<const QString> names, std::span<const CDownloader_HTMLTags*> first) const;

    // --- text form ---
    // The text of all children of this node; each child is written by Serialize.
    QString ToText(const QString& indent = {}, Escaping escaping = Escaping::None) const;
    QString Serialize(const QString& indent = {}, Escaping escaping = Escaping::None) const;
    // ToText without an indent, encoded as UTF-8 (a lone surrogate becomes U+FFFD), into out.
    void ToUtf8Text(Escaping escaping, Utf8Writer& out) const;

    // --- plain access ---
    QString GetText() const { return m_text.ToString(); }
    QStringView GetTextView() const { return m_text.View(); }
    int GetSpanStart() const { return m_spanStart; }
    int GetSpanEnd() const { return m_spanEnd; }
    bool IsClosed() const { return HasFlag(kClosed); }
    bool IsTextNode() const { return HasFlag(kText); }
    bool IsComment() const { return HasFlag(kComment); }
    bool IsPrewritten() const { return HasFlag(kPrewritten); }
    const std::vector<CDownloader_HTMLTags>& GetChildren() const { return m_children; }
    std::vector<CDownloader_HTMLTags>& GetChildren() { return m_children; }

  private:
    friend class HtmlTreeBuilder;
    friend class HtmlTreeWriter;

    void ReleaseChildren() noexcept;
    struct ParseOutcome {
        bool complete = false; // within the node budget
        bool nested = false;   // see ParseNested
    };
    ParseOutcome ParseText(const QString& text, std::size_t maxNodes);
    // Normalize, reading the text from raw: the parser builds each node's text once, from the page itself,
    // folded and copied in one pass into the sink's storage.
    // known: what folding and decoding will change in raw, when the parser found it out already.
    void NormalizeFrom(QStringView raw, HtmlTextSink& sink, const HtmlTextChanges* known);

    // The flags live in the text's spare bits.
    enum Flag : quint32 { kClosed = 1, kText = 2, kComment = 4, kPrewritten = 8 };
    bool HasFlag(Flag which) const { return (m_text.OwnerBits() & which) != 0; }
    void SetFlag(Flag which, bool on) {
        m_text.SetOwnerBits(on ? (m_text.OwnerBits() | which) : (m_text.OwnerBits() & ~quint32(which)));
    }

    HtmlNodeText m_text;
    int m_spanStart = 0;
    int m_spanEnd = 0;
    std::vector<CDownloader_HTMLTags> m_children;
};

// Entity decoding of text nodes: "&nbsp;", "&quot;", "&gt;", "&lt;", then decimal references, then "&amp;".
// Text produced by one replacement is never read again (so "&#38;amp;" gives "&amp;").
QString DecodeHtmlEntities(const QString& text);

// Splits the argument list of a JavaScript array or call into its items (escapes are kept, not decoded).
void ParseJsStringList(QStringList& out, const QString& text);

// The fixed tag lists, each " NAME NAME " in upper case, looked up by " " + NAME + " ".
namespace html_tag_lists {
inline constexpr char16_t kVoidElements[] = u" AREA BASE BASEFONT BR FRAME HR IMG INPUT LINK META ";
inline constexpr char16_t kRawTextElements[] = u" SCRIPT STYLE NOSCRIPT ";
inline constexpr char16_t kImplicitlyClosed[] = u" A LI OPTION ";
} // namespace html_tag_lists
