#include "projects/kind6/project6_home_page_checks.h"

#include "net/html_tags.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Ad client ids are short words of letters, digits, "-" and "_" ("ca-pub-0123456789").
constexpr int kMaxClientLength = 64;

bool IsClientId(const QString& text) {
    if (text.isEmpty() || text.size() > kMaxClientLength)
        return false;
    for (const QChar c : text)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'-' && c != u'_')
            return false;
    return true;
}

// The quoted value assigned after a marker at from: optional closing quote of a property name, blanks,
// "=" or ":", blanks, then a value in matching quotes.
QString AssignedValue(QStringView text, qsizetype from) {
    qsizetype at = from;
    auto skipBlanks = [&] {
        while (at < text.size() && text[at].isSpace())
            ++at;
    };
    if (at < text.size() && (text[at] == u'"' || text[at] == u'\''))
        ++at;
    skipBlanks();
    if (at >= text.size() || (text[at] != u'=' && text[at] != u':'))
        return {};
    ++at;
    skipBlanks();
    if (at >= text.size() || (text[at] != u'"' && text[at] != u'\''))
        return {};
    const QChar quote = text[at++];
    const qsizetype end = text.indexOf(quote, at);
    if (end < 0 || end - at > kMaxClientLength)
        return {};
    return text.sliced(at, end - at).trimmed().toString();
}

// Scripts are read from the page text itself: the tree takes a "<" inside a script for a tag.
QString ClientInScripts(const QString& pageText) {
    const QStringView text(pageText);
    const QString marker = u"ad_client"_s;
    qsizetype from = 0;
    while (true) {
        const qsizetype open = text.indexOf(u"<script"_s, from, Qt::CaseInsensitive);
        if (open < 0)
            return {};
        const qsizetype tagEnd = text.indexOf(u'>', open);
        if (tagEnd < 0)
            return {};
        qsizetype close = text.indexOf(u"</script"_s, tagEnd, Qt::CaseInsensitive);
        if (close < 0)
            close = text.size();
        const QStringView script = text.sliced(tagEnd + 1, close - tagEnd - 1);
        for (qsizetype at = script.indexOf(marker, 0, Qt::CaseInsensitive); at >= 0;
             at = script.indexOf(marker, at + 1, Qt::CaseInsensitive)) {
            const QString value = AssignedValue(script, at + marker.size());
            if (IsClientId(value))
                return value;
        }
        from = close;
    }
}

QString ClientInAttributes(const CDownloader_HTMLTags& page) {
    std::vector<const CDownloader_HTMLTags*> units;
    page.FindAll(units, {.attribute = u"data-ad-client"_s});
    for (const CDownloader_HTMLTags* unit : units) {
        const QString tag = unit->GetTagName(true);
        if (tag != u"SCRIPT"_s && tag != u"INS"_s)
            continue;
        const QString value = DecodeHtmlEntities(unit->GetAttribute(u"data-ad-client"_s)).trimmed();
        if (IsClientId(value))
            return value;
    }
    return {};
}

bool IsEmailInput(const CDownloader_HTMLTags& input) {
    const QString type = input.GetAttribute(u"type"_s).trimmed().toLower();
    if (type == u"email"_s)
        return true;
    if (!type.isEmpty() && type != u"text"_s)
        return false;
    const QString name = (input.GetAttribute(u"name"_s) + u' ' + input.GetAttribute(u"id"_s)).toLower();
    return name.contains(u"email"_s) || name.contains(u"e-mail"_s);
}

} // namespace

QString FindAdClient(const QString& pageText, const CDownloader_HTMLTags& page) {
    const QString inScripts = ClientInScripts(pageText);
    return inScripts.isEmpty() ? ClientInAttributes(page) : inScripts;
}

QString FindSignUpFormAction(const CDownloader_HTMLTags& page, bool& found) {
    found = false;
    std::vector<const CDownloader_HTMLTags*> forms;
    page.FindAll(forms, {.tag = u"form"_s});
    std::vector<const CDownloader_HTMLTags*> inputs;
    for (const CDownloader_HTMLTags* form : forms) {
        form->FindAll(inputs, {.tag = u"input"_s});
        bool email = false;
        bool password = false;
        for (const CDownloader_HTMLTags* input : inputs) {
            email = email || IsEmailInput(*input);
            password = password || input->GetAttribute(u"type"_s).trimmed().toLower() == u"password"_s;
        }
        if (email && !password) {
            found = true;
            return DecodeHtmlEntities(form->GetAttribute(u"action"_s)).trimmed();
        }
    }
    return {};
}
