#include "net/saved_markup.h"

#include "core/number_text.h"
#include "net/html_tags.h"
#include "net/saved_value_escaping.h"

void SavedTreeWriter::Value(const QString& key, const QString& text) {
    m_open.back()->AddChild(key, true)->SetText(text);
}

void SavedTreeWriter::Value(const QString& key, int value) {
    m_open.back()->AddChild(key, true)->SetInt(value);
}

void SavedTreeWriter::Value(const QString& key, float value) {
    m_open.back()->AddChild(key, true)->SetFloat(value);
}

void SavedTreeWriter::Open(const QString& key) {
    m_open.push_back(m_open.back()->AddChild(key, false));
}

void SavedMarkupWriter::LineAtDepth(qsizetype depth) {
    m_text += u"\r\n";
    m_text.resize(m_text.size() + depth * saved_markup::kIndentStep, u' ');
}

void SavedMarkupWriter::StartChild() {
    if (!m_open.empty())
        m_open.back().hasChildren = true;
    LineAtDepth(qsizetype(m_open.size()));
}

// As SetText, SetInt and SetFloat leave a value: the element's one text child, its end tag right after it.
void SavedMarkupWriter::Value(const QString& key, const QString& text) {
    StartChild();
    m_text += u'<';
    m_text += key;
    m_text += u'>';
    saved_markup::Utf16Out out(m_text);
    saved_markup::AppendEscaped(out, text);
    m_text += u"</";
    m_text += key;
    m_text += u'>';
}

void SavedMarkupWriter::Value(const QString& key, int value) {
    Value(key, number_text::FormatInt(value));
}

void SavedMarkupWriter::Value(const QString& key, float value) {
    Value(key, number_text::FormatFixed(static_cast<double>(value), 6));
}

void SavedMarkupWriter::Open(const QString& key) {
    StartChild();
    m_text += u'<';
    m_text += key;
    m_text += u'>';
    m_open.push_back({key, false});
}

// An element with element children ends on a line of its own, an empty one right after its start tag.
void SavedMarkupWriter::Close() {
    const OpenElement element = std::move(m_open.back());
    m_open.pop_back();
    if (element.hasChildren)
        LineAtDepth(qsizetype(m_open.size()));
    m_text += u"</";
    m_text += element.key;
    m_text += u'>';
}
