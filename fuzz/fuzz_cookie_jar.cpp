// Drives the cookie parser and jar with a script of lines, as the downloader calls them:
//   S<url> <Set-Cookie value>   a reply from url sets cookies
//   G<url>                      a request to url asks for its Cookie header
//   T<seconds>                  the clock moves on
// Beside the jar runs a plain model of who may set what and which cookies a request carries. Checked:
// every stored cookie may be set by the host that set it, the caps hold, while the script stays under the
// caps the jar's Cookie header is the model's, and the cookie host form of any line is stable.
#include "core/limits.h"
#include "net/cookie_domain.h"
#include "net/cookie_jar.h"
#include "net/cookie_parser.h"
#include "net/http_url.h"

#include <QHash>
#include <QStringList>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <tuple>

namespace {

struct ModelCookie {
    bool hostOnly = true;
    QString domain; // host form, no leading dot
    QString path;
    QString name;
    QString text;
    bool secure = false;
    std::int64_t expiry = 0;
    QString setter; // host form of the host whose reply set it
};

using Key = std::tuple<bool, QString, QString, QString>;

Key KeyOf(const ModelCookie& cookie) {
    return {cookie.hostOnly, cookie.domain, cookie.path, cookie.name};
}

bool IsExpired(std::int64_t expiry, std::int64_t now) {
    return expiry < 0 || (expiry != 0 && expiry <= now);
}

bool WithinDomain(const QString& host, const QString& domain) {
    return host == domain || host.endsWith(u'.' + domain);
}

// A host may set a cookie for itself, or for a domain it lies in that is neither a public suffix nor an
// address; an address has no sub-domains.
bool MaySet(const QString& setter, const ModelCookie& cookie) {
    if (cookie.domain.isEmpty())
        return false;
    if (cookie.hostOnly)
        return cookie.domain == setter;
    return !IsPublicSuffix(cookie.domain) && !IsIpAddress(cookie.domain) && !IsIpAddress(setter) &&
           WithinDomain(setter, cookie.domain);
}

bool Applies(const ModelCookie& cookie, const QString& host, const QString& path, bool https) {
    const bool domainMatches = cookie.hostOnly ? host == cookie.domain : WithinDomain(host, cookie.domain);
    return domainMatches && path.startsWith(cookie.path) && (!cookie.secure || https);
}

QString Reversed(QString text) {
    std::reverse(text.begin(), text.end());
    return text;
}

// The jar's order: domain read from its end (a domain cookie's dot last), then path, then name.
auto OrderKey(const ModelCookie& cookie) {
    return std::make_tuple(Reversed(cookie.hostOnly ? cookie.domain : u'.' + cookie.domain), cookie.path,
                           cookie.name);
}

class Model {
  public:
    void Store(const ModelCookie& cookie, std::int64_t now) {
        const auto found = m_cookies.find(KeyOf(cookie));
        if (IsExpired(cookie.expiry, now)) {
            if (found != m_cookies.end()) {
                --m_perDomain[cookie.domain];
                m_cookies.erase(found);
            }
            return;
        }
        if (found != m_cookies.end()) {
            found->second = cookie;
            return;
        }
        m_cookies.emplace(KeyOf(cookie), cookie);
        // Expired cookies are counted too: the jar may still hold them.
        m_overCaps = m_overCaps || ++m_perDomain[cookie.domain] > limits::kMaxCookiesPerDomain ||
                     m_cookies.size() > size_t(limits::kMaxCookiesTotal);
    }

    QString Header(const QString& host, const QString& path, bool https, std::int64_t now) const {
        std::vector<const ModelCookie*> sent;
        for (const auto& [key, c] : m_cookies)
            if (!IsExpired(c.expiry, now) && Applies(c, host, path, https))
                sent.push_back(&c);
        std::sort(sent.begin(), sent.end(), [](auto a, auto b) { return OrderKey(*a) < OrderKey(*b); });
        QString out;
        for (const ModelCookie* c : sent)
            out += c->text + u';';
        return out;
    }

    const ModelCookie* Find(const ModelCookie& cookie) const {
        const auto found = m_cookies.find(KeyOf(cookie));
        return found == m_cookies.end() ? nullptr : &found->second;
    }

    // Once a cap was passed the jar evicts, which the model does not follow.
    bool OverCaps() const { return m_overCaps; }

  private:
    std::map<Key, ModelCookie> m_cookies;
    QHash<QString, int> m_perDomain;
    bool m_overCaps = false;
};

ModelCookie ModelOf(const CDownloader_Cookie& parsed, const QString& setter) {
    ModelCookie cookie;
    cookie.hostOnly = !parsed.domain.startsWith(u'.');
    cookie.domain = cookie.hostOnly ? parsed.domain : parsed.domain.mid(1);
    cookie.path = parsed.path;
    cookie.name = parsed.name;
    cookie.text = parsed.text;
    cookie.secure = parsed.secure;
    cookie.expiry = parsed.expiry;
    cookie.setter = setter;
    return cookie;
}

// The jar's record in model form: its domain is stored reversed, a domain cookie's dot last.
ModelCookie ModelOfStored(const CDownloader_Cookie& stored) {
    ModelCookie cookie;
    const QString domain = Reversed(stored.domain);
    cookie.hostOnly = !stored.domainMatch;
    cookie.domain = cookie.hostOnly ? domain : domain.mid(1);
    cookie.path = stored.path;
    cookie.name = stored.name;
    cookie.text = stored.text;
    cookie.secure = stored.secure;
    cookie.expiry = stored.expiry;
    return cookie;
}

void CheckJar(const CookieJar& jar, const Model& model) {
    const std::vector<CDownloader_Cookie>& stored = jar.Cookies();
    if (stored.size() > size_t(limits::kMaxCookiesTotal))
        __builtin_trap();
    QHash<QString, int> perDomain;
    for (const CDownloader_Cookie& record : stored) {
        const ModelCookie cookie = ModelOfStored(record);
        if (record.domainMatch != (record.domain.endsWith(u'.') ? 1 : 0) ||
            record.text.size() > limits::kMaxCookieTextLength ||
            ++perDomain[cookie.domain] > limits::kMaxCookiesPerDomain)
            __builtin_trap();
        const ModelCookie* known = model.Find(cookie);
        if (!known || !MaySet(known->setter, cookie) || known->text != cookie.text ||
            known->expiry != cookie.expiry || known->secure != cookie.secure)
            __builtin_trap();
    }
}

std::int64_t ReadSeconds(QStringView digits) {
    std::int64_t seconds = 0;
    for (const QChar c : digits.first(std::min<qsizetype>(digits.size(), 9))) {
        if (c < u'0' || c > u'9')
            break;
        seconds = seconds * 10 + (c.unicode() - u'0');
    }
    return seconds;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString script =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CookieJar jar;
    Model model;
    std::int64_t now = 1000000000;
    for (const QString& line : script.split(u'\n')) {
        if (line.isEmpty())
            continue;
        const QStringView rest = QStringView(line).sliced(1);
        // Any text's host form is its own host form and never looks like a domain cookie's.
        const QString form = CookieHost(rest.toString());
        if (form.startsWith(u'.') || CookieHost(form) != form)
            __builtin_trap();
        if (line[0] == u'T') {
            now += ReadSeconds(rest);
            continue;
        }
        const qsizetype space = rest.indexOf(u' ');
        const HttpUrlParts url = SplitHttpUrl((space < 0 ? rest : rest.first(space)).toString());
        if (!url.valid)
            continue;
        const QString host = CookieHost(url.host);

        if (line[0] == u'S' && space >= 0) {
            std::vector<CDownloader_Cookie> cookies;
            ParseSetCookieHeader(rest.sliced(space + 1).toString(), url.host, now, cookies);
            jar.Add(cookies, now);
            for (const CDownloader_Cookie& parsed : cookies) {
                const ModelCookie cookie = ModelOf(parsed, host);
                if (MaySet(host, cookie))
                    model.Store(cookie, now);
            }
            CheckJar(jar, model);
        } else if (line[0] == u'G') {
            const QString header = jar.HeaderFor(url.host, url.object, url.tls, now);
            if (!model.OverCaps() && header != model.Header(host, url.object, url.tls, now))
                __builtin_trap();
        }
    }
    return 0;
}
