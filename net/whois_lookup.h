#pragma once

#include "net/whois_table.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <deque>
#include <functional>
#include <vector>

// The name a whois server of suffix is asked about for domain: the suffix and the one label before it
// ("example.co.uk" for "a.b.example.co.uk" under "co.uk"); the domain itself when it has no more labels.
// domain must end in "." and suffix.
QString RegistrableWhoisName(const QString& domain, const QString& suffix);

// Which whois servers one lookup asks, in which order, and the reply it ends with. Every row whose suffix
// the domain ends with queues its server, in table order; the first reply without its server's marker
// ends the lookup. A server that does not know the name may refer to another ("whois server: " and a host),
// which is then asked instead of the rest of the queue. The caller carries out each query.
class WhoisLookup {
  public:
    // Sends request to server (port 43) and returns what came back, empty when nothing did.
    using Ask = std::function<QByteArray(const QString& server, const QByteArray& request)>;
    // Takes the progress line shown before each query.
    using Progress = std::function<void(const QString& line)>;

    struct Outcome {
        // abort was seen; the reply is then of no use.
        bool aborted = false;
        // The reply the lookup ends with; empty when there is none.
        QByteArray reply;
    };

    // A domain that holds a line break or a NUL queues nothing: it would go out raw as the query line.
    WhoisLookup(const QString& domain, const std::vector<WhoisTableRow>& rows);

    // Asks the queued servers in turn. abort is read before each query and after it.
    Outcome Run(const Ask& ask, const Progress& progress, const std::atomic<bool>& abort);

  private:
    struct Query {
        QString server;
        QString marker;
        QString name;
    };

    // After a reply that holds its marker: queues the server it refers to, if any; true when the lookup
    // ends with this reply instead (a referral back to a server already asked, or one too many).
    bool FollowReferral(const QString& reply, const Query& query);

    std::deque<Query> m_queue;
    std::vector<QString> m_asked;
    int m_referrals = 0;
};
