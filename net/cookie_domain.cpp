#include "net/cookie_domain.h"

#include <QSet>
#include <arpa/inet.h>

using namespace Qt::StringLiterals;

namespace {

// Registries that sell names under these labels; a site below one must not set cookies for all its
// neighbours. The common cases only: a full list is not kept up to date here.
const QSet<QString>& MultiLabelSuffixes() {
    static const QSet<QString> kSuffixes = {
        u"co.uk"_s,   u"org.uk"_s, u"me.uk"_s,  u"ltd.uk"_s, u"plc.uk"_s, u"net.uk"_s, u"ac.uk"_s,
        u"gov.uk"_s,  u"nhs.uk"_s, u"sch.uk"_s, u"com.au"_s, u"net.au"_s, u"org.au"_s, u"edu.au"_s,
        u"gov.au"_s,  u"asn.au"_s, u"id.au"_s,  u"co.nz"_s,  u"net.nz"_s, u"org.nz"_s, u"ac.nz"_s,
        u"govt.nz"_s, u"co.jp"_s,  u"ne.jp"_s,  u"or.jp"_s,  u"ac.jp"_s,  u"go.jp"_s,  u"co.kr"_s,
        u"or.kr"_s,   u"com.cn"_s, u"net.cn"_s, u"org.cn"_s, u"gov.cn"_s, u"edu.cn"_s, u"com.hk"_s,
        u"org.hk"_s,  u"com.tw"_s, u"org.tw"_s, u"com.sg"_s, u"com.my"_s, u"co.in"_s,  u"net.in"_s,
        u"org.in"_s,  u"gov.in"_s, u"co.id"_s,  u"com.ph"_s, u"co.th"_s,  u"com.vn"_s, u"com.pk"_s,
        u"co.za"_s,   u"org.za"_s, u"co.il"_s,  u"org.il"_s, u"com.tr"_s, u"com.ua"_s, u"com.pl"_s,
        u"com.br"_s,  u"net.br"_s, u"org.br"_s, u"gov.br"_s, u"com.mx"_s, u"gob.mx"_s, u"com.ar"_s,
        u"com.co"_s,  u"com.pe"_s, u"com.es"_s, u"co.at"_s,  u"or.at"_s,  u"com.eg"_s, u"com.sa"_s,
        u"co.ke"_s,   u"com.ng"_s,
    };
    return kSuffixes;
}

} // namespace

QString CookieHost(const QString& host) {
    QString out = host.toLower();
    // Each step only removes characters; repeating until none goes makes the form of a form itself.
    for (qsizetype before = -1; before != out.size();) {
        before = out.size();
        out = out.trimmed();
        if (out.size() >= 2 && out.startsWith(u'[') && out.endsWith(u']'))
            out = out.mid(1, out.size() - 2);
        while (out.startsWith(u'.'))
            out.remove(0, 1);
        while (out.endsWith(u'.'))
            out.chop(1);
    }
    return out;
}

bool IsIpAddress(const QString& host) {
    if (host.contains(QChar(0)))
        return false;
    const QByteArray text = host.toLatin1();
    unsigned char buffer[16];
    return inet_pton(AF_INET, text.constData(), buffer) == 1 ||
           inet_pton(AF_INET6, text.constData(), buffer) == 1;
}

bool IsPublicSuffix(const QString& domain) {
    return !domain.contains(u'.') || MultiLabelSuffixes().contains(domain);
}
