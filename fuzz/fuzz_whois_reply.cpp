// Whois replies through the lookup over the program's own server table, the response processing of the
// reply it ends with, and the creation-date reader. The first line is the domain; the rest are the
// replies of the servers in the order they are asked, separated by lines of "@@" (a server past the last
// reply sends nothing). Checked: every query is the domain's registrable name and one line end; a server
// off the table is asked only on the word of the reply before, never twice, and no more often than the
// referral limit allows; the lookup ends with the last reply it got; that reply reaches the parser whole,
// with no header split off and no tree; and a creation date comes only from a "creat" line.
#include "core/limits.h"
#include "core/text_convert.h"
#include "net/downloader.h"
#include "net/whois_directory.h"
#include "net/whois_lookup.h"
#include "parsers/finished_reply.h"
#include "parsers/whois_creation_date.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

void Check(bool holds) {
    if (!holds)
        __builtin_trap();
}

bool EndsWithLabels(const QString& domain, const QString& tail) {
    return domain == tail || (domain.size() > tail.size() && domain.endsWith(tail) &&
                              domain[domain.size() - tail.size() - 1] == u'.');
}

struct Query {
    QString server;
    QByteArray request;
};

// The servers: each query takes the next reply.
class Servers {
  public:
    explicit Servers(const QList<QByteArray>& replies) : m_replies(replies) {}

    QByteArray Answer(const QString& server, const QByteArray& request) {
        m_queries.push_back({server, request});
        return m_queries.size() <= size_t(m_replies.size()) ? m_replies[qsizetype(m_queries.size() - 1)]
                                                            : QByteArray();
    }

    const std::vector<Query>& Queries() const { return m_queries; }
    QByteArray ReplyTo(size_t query) const { return m_replies.value(qsizetype(query)); }

  private:
    QList<QByteArray> m_replies;
    std::vector<Query> m_queries;
};

QList<QByteArray> SplitReplies(const QByteArray& text) {
    static const QByteArray kSeparator = "\n@@\n";
    QList<QByteArray> replies;
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(kSeparator); at >= 0; at = text.indexOf(kSeparator, from)) {
        replies.append(text.sliced(from, at - from));
        from = at + kSeparator.size();
    }
    replies.append(text.sliced(from));
    return replies;
}

QString ReferredHost(const QByteArray& reply) {
    static const QString kTag = u"whois server: "_s;
    const QString text = Utf8ToWide(reply).toLower();
    const qsizetype tag = text.indexOf(kTag);
    if (tag < 0)
        return {};
    const qsizetype lineEnd = text.indexOf(u'\n', tag);
    return text.sliced(tag + kTag.size(), (lineEnd < 0 ? text.size() : lineEnd) - tag - kTag.size())
        .trimmed();
}

void CheckQueries(const QString& domain, const std::vector<WhoisTableRow>& rows, const Servers& servers) {
    std::vector<QString> tableServers;
    for (const WhoisTableRow& row : rows)
        if (domain.size() > row.suffix.size() && EndsWithLabels(domain, row.suffix))
            tableServers.push_back(row.server);
    const std::vector<Query>& queries = servers.Queries();
    Check(queries.size() <= tableServers.size() + size_t(limits::kMaxWhoisReferrals));

    std::vector<QString> referred;
    for (size_t i = 0; i < queries.size(); ++i) {
        const Query& query = queries[i];
        Check(query.request.endsWith("\r\n"));
        const QByteArray name = query.request.chopped(2);
        Check(!name.contains('\r') && !name.contains('\n') && !name.contains('\0'));
        Check(EndsWithLabels(domain, QString::fromUtf8(name)));
        if (std::ranges::find(tableServers, query.server) != tableServers.end())
            continue;
        // A referral: named on the first referral line of the reply before, and not asked before.
        Check(i > 0 && ReferredHost(servers.ReplyTo(i - 1)) == query.server);
        Check(
            std::ranges::none_of(queries.begin(), queries.begin() + qsizetype(i), [&](const Query& earlier) {
                return earlier.server.compare(query.server, Qt::CaseInsensitive) == 0;
            }));
        referred.push_back(query.server);
    }
    Check(referred.size() <= size_t(limits::kMaxWhoisReferrals));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype lineEnd = input.indexOf('\n');
    const QString domain = QString::fromUtf8(lineEnd < 0 ? input : input.first(lineEnd));
    Servers servers(lineEnd < 0 ? QList<QByteArray>{} : SplitReplies(input.sliced(lineEnd + 1)));

    const auto rows = whois_directory::Rows();
    WhoisLookup lookup(domain, *rows);
    const std::atomic<bool> abort{false};
    QString progress;
    const WhoisLookup::Outcome outcome =
        lookup.Run([&servers](const QString& server,
                              const QByteArray& request) { return servers.Answer(server, request); },
                   [&progress](const QString& line) { progress += line; }, abort);
    Check(!outcome.aborted);
    CheckQueries(domain, *rows, servers);
    const std::vector<Query>& queries = servers.Queries();
    Check(queries.empty() ? outcome.reply.isEmpty() : outcome.reply == servers.ReplyTo(queries.size() - 1));

    CDownloader downloader(-1);
    downloader.ProcessResponse(outcome.reply, CDownloader::kRequestWhois | CDownloader::kKeepText, domain);
    Check(downloader.IsFinished());
    const DownloadResponse response = downloader.Response();
    Check(response.header.isEmpty() && response.tree.GetChildren().empty());
    Check(response.body == Utf8ToWide(outcome.reply));

    const int created = CDownloader_Parsers::ParseWhoisCreationDate(downloader);
    Check(created == 0 || response.body.toLower().contains(u"creat"_s));
    return 0;
}
