#include "net/whois_lookup.h"

#include "core/limits.h"
#include "core/text_convert.h"

#include <QStringList>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kReferralTag = u"whois server: "_s;

bool EndsWithSuffix(const QString& domain, const QString& suffix) {
    return domain.size() > suffix.size() && domain.endsWith(suffix) &&
           domain[domain.size() - suffix.size() - 1] == u'.';
}

// A host the lookup may connect to on a server's word: a name of two or more labels of plain letters.
// Digits and hyphens are refused as the table's servers never need them; an empty or dotless name could
// only send the lookup nowhere and lose the reply it has.
bool IsReferralHost(const QString& host) {
    const QStringList labels = host.split(u'.');
    if (labels.size() < 2)
        return false;
    return std::ranges::all_of(labels, [](const QString& label) {
        return !label.isEmpty() && std::ranges::all_of(label, [](QChar c) { return c >= u'a' && c <= u'z'; });
    });
}

} // namespace

QString RegistrableWhoisName(const QString& domain, const QString& suffix) {
    // The "." before the suffix, then the one before the label that precedes it.
    const qsizetype suffixDot = domain.size() - suffix.size() - 1;
    if (suffixDot <= 0)
        return domain;
    const qsizetype labelDot = domain.lastIndexOf(u'.', suffixDot - 1);
    return labelDot < 0 ? domain : domain.sliced(labelDot + 1);
}

WhoisLookup::WhoisLookup(const QString& domain, const std::vector<WhoisTableRow>& rows) {
    if (domain.contains(u'\r') || domain.contains(u'\n') || domain.contains(QChar(u'\0')))
        return;
    for (const WhoisTableRow& row : rows)
        if (EndsWithSuffix(domain, row.suffix))
            m_queue.push_back({row.server, row.marker, RegistrableWhoisName(domain, row.suffix)});
}

WhoisLookup::Outcome WhoisLookup::Run(const Ask& ask, const Progress& progress,
                                      const std::atomic<bool>& abort) {
    Outcome outcome;
    while (!m_queue.empty()) {
        if (abort.load())
            return {true, {}};
        const Query query = m_queue.front();
        m_queue.pop_front();
        m_asked.push_back(query.server);
        progress(u"[Checking "_s + query.name + u" with "_s + query.server + u"...]\n \n"_s);
        outcome.reply = ask(query.server, (query.name + u"\r\n"_s).toUtf8());
        if (abort.load())
            return {true, {}};
        if (outcome.reply.isEmpty())
            continue;
        const QString text = Utf8ToWide(outcome.reply);
        if (!text.contains(query.marker) || FollowReferral(text, query))
            return outcome;
    }
    return outcome;
}

bool WhoisLookup::FollowReferral(const QString& reply, const Query& query) {
    const QString lower = reply.toLower();
    const qsizetype tag = lower.indexOf(kReferralTag);
    if (tag < 0)
        return false;
    const qsizetype start = tag + kReferralTag.size();
    const qsizetype lineEnd = lower.indexOf(u'\n', start);
    const QString host = (lineEnd < 0 ? lower.sliced(start) : lower.sliced(start, lineEnd - start)).trimmed();
    if (!IsReferralHost(host))
        return false;
    const bool asked = std::ranges::any_of(
        m_asked, [&host](const QString& server) { return server.compare(host, Qt::CaseInsensitive) == 0; });
    if (asked || m_referrals >= limits::kMaxWhoisReferrals)
        return true;
    ++m_referrals;
    m_queue = {{host, query.marker, query.name}};
    return false;
}
