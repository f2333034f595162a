#include "tests/app/pdf_text.h"

#include "net/http_response.h"

#include <QHash>
#include <QRegularExpression>
#include <map>
#include <optional>

using namespace Qt::StringLiterals;

namespace apptest {

namespace {

constexpr qsizetype kMaxStreamBytes = 64 << 20;

struct PdfObject {
    QByteArray dictionary;
    QByteArray stream; // inflated when it was compressed
};

// By object number: the writer numbers pages in their order.
using ObjectTable = std::map<int, PdfObject>;
using CharacterMap = QHash<uint, QString>;

// "/Key 12 0 R" in a dictionary: the object it refers to.
std::optional<int> Reference(const QByteArray& dictionary, const char* key) {
    const QRegularExpression pattern(u"/%1\\s+(\\d+)\\s+0\\s+R"_s.arg(QLatin1StringView(key)));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(dictionary));
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt();
}

ObjectTable ReadObjects(const QByteArray& pdf) {
    struct Raw {
        QByteArray dictionary;
        qsizetype streamStart = -1;
    };
    QHash<int, Raw> raw;
    static const QRegularExpression kObjectStart(u"(\\d+)\\s+0\\s+obj\\b"_s);
    const QString text = QString::fromLatin1(pdf);
    for (auto it = kObjectStart.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const qsizetype start = match.capturedEnd();
        const qsizetype end = pdf.indexOf("endobj", start);
        const qsizetype stream = pdf.indexOf("stream", start);
        Raw object;
        if (stream >= 0 && (end < 0 || stream < end)) {
            object.dictionary = pdf.mid(start, stream - start);
            object.streamStart = stream + 6;
            if (pdf.mid(object.streamStart, 2) == "\r\n")
                object.streamStart += 2;
            else if (pdf.mid(object.streamStart, 1) == "\n")
                ++object.streamStart;
        } else {
            object.dictionary = pdf.mid(start, end < 0 ? -1 : end - start);
        }
        raw.insert(match.captured(1).toInt(), object);
    }

    ObjectTable objects;
    for (auto it = raw.cbegin(); it != raw.cend(); ++it) {
        PdfObject object{it->dictionary, {}};
        if (it->streamStart >= 0) {
            // The length is written in the dictionary or in an object of its own.
            static const QRegularExpression kLengthEntry(u"/Length\\s+(\\d+)(\\s+\\d+\\s+R)?"_s);
            qsizetype length = -1;
            if (const auto match = kLengthEntry.match(QString::fromLatin1(it->dictionary));
                match.hasMatch()) {
                if (!match.hasCaptured(2))
                    length = match.captured(1).toLongLong();
                else if (const auto ref = raw.constFind(match.captured(1).toInt()); ref != raw.cend())
                    length = ref->dictionary.trimmed().toLongLong();
            }
            if (length < 0 || it->streamStart + length > pdf.size())
                length = pdf.indexOf("endstream", it->streamStart) - it->streamStart;
            object.stream = pdf.mid(it->streamStart, length);
            if (it->dictionary.contains("/FlateDecode")) {
                QByteArray inflated;
                InflateBody(object.stream, false, kMaxStreamBytes, inflated);
                object.stream = inflated;
            }
        }
        objects.emplace(it.key(), object);
    }
    return objects;
}

// The hexadecimal codes of a "<...>" token as one number each of digits / 2 bytes.
uint HexValue(QByteArrayView hex) {
    return QByteArray(hex.data(), hex.size()).toUInt(nullptr, 16);
}

// The UTF-16BE text a "<...>" destination of a ToUnicode map names.
QString Utf16Hex(QByteArrayView hex) {
    QString text;
    for (qsizetype i = 0; i + 4 <= hex.size(); i += 4)
        text.append(QChar(char16_t(HexValue(hex.sliced(i, 4)))));
    return text;
}

CharacterMap ReadCharacterMap(const QByteArray& cmap) {
    CharacterMap map;
    static const QRegularExpression kHex(u"<([0-9A-Fa-f]+)>"_s);
    const auto hexes = [](const QString& line) {
        QList<QByteArray> values;
        for (auto it = kHex.globalMatch(line); it.hasNext();)
            values.append(it.next().captured(1).toLatin1());
        return values;
    };
    enum { kNone, kChars, kRanges } section = kNone;
    for (const QByteArray& rawLine : cmap.split('\n')) {
        const QString line = QString::fromLatin1(rawLine).trimmed();
        if (line.endsWith(u"beginbfchar"_s))
            section = kChars;
        else if (line.endsWith(u"beginbfrange"_s))
            section = kRanges;
        else if (line.startsWith(u"end"_s))
            section = kNone;
        else if (section == kChars) {
            const QList<QByteArray> values = hexes(line);
            if (values.size() == 2)
                map.insert(HexValue(values[0]), Utf16Hex(values[1]));
        } else if (section == kRanges) {
            const QList<QByteArray> values = hexes(line);
            if (values.size() < 3)
                continue;
            const uint low = HexValue(values[0]);
            const uint high = HexValue(values[1]);
            if (line.contains(u'[')) {
                for (uint code = low; code <= high && qsizetype(code - low) + 2 < values.size(); ++code)
                    map.insert(code, Utf16Hex(values[qsizetype(code - low) + 2]));
            } else {
                // Consecutive codes map to consecutive characters from the first.
                const QString first = Utf16Hex(values[2]);
                for (uint code = low; code <= high && !first.isEmpty(); ++code)
                    map.insert(code, QString(first.chopped(1)) +
                                         QChar(char16_t(first.back().unicode() + (code - low))));
            }
        }
    }
    return map;
}

QString Decode(QByteArrayView hex, const CharacterMap& map) {
    QString text;
    for (qsizetype i = 0; i + 4 <= hex.size(); i += 4)
        text += map.value(HexValue(hex.sliced(i, 4)));
    return text;
}

// One page's text: the operators of its content stream, read for Tf, Tj, TJ and ET.
QString PageText(const QByteArray& content, const QHash<QByteArray, CharacterMap>& fonts) {
    static const QRegularExpression kToken(
        u"/([^\\s/<>\\[\\]()]+)|<([0-9A-Fa-f]*)>|(\\[)|(\\])|([A-Za-z'\"*]+)"_s);
    QString text;
    const CharacterMap* font = nullptr;
    QByteArray lastName;
    QList<QByteArray> strings;
    bool inArray = false;
    for (auto it = kToken.globalMatch(QString::fromLatin1(content)); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.hasCaptured(1)) {
            lastName = match.captured(1).toLatin1();
        } else if (match.hasCaptured(2)) {
            if (!inArray)
                strings.clear();
            strings.append(match.captured(2).toLatin1());
        } else if (match.hasCaptured(3)) {
            inArray = true;
            strings.clear();
        } else if (match.hasCaptured(4)) {
            inArray = false;
        } else {
            const QString op = match.captured(5);
            if (op == u"Tf") {
                const auto found = fonts.constFind(lastName);
                font = found == fonts.cend() ? nullptr : &*found;
            } else if (op == u"Tj" || op == u"TJ") {
                if (font)
                    for (const QByteArray& string : std::as_const(strings))
                        text += Decode(string, *font);
                strings.clear();
            } else if (op == u"ET") {
                text += u'\n';
            }
        }
    }
    return text.replace(u'\t', u' ');
}

} // namespace

QString PdfText(const QByteArray& pdf) {
    const ObjectTable objects = ReadObjects(pdf);
    // Every font resource name that has a ToUnicode map; the writer names each font once for the file.
    QHash<QByteArray, CharacterMap> fonts;
    static const QRegularExpression kFontDictionary(u"/Font\\s*<<([^>]*)>>"_s);
    static const QRegularExpression kResource(u"/([^\\s/]+)\\s+(\\d+)\\s+0\\s+R"_s);
    for (const auto& [number, object] : objects) {
        const QString dictionary = QString::fromLatin1(object.dictionary);
        for (auto dict = kFontDictionary.globalMatch(dictionary); dict.hasNext();) {
            const QString entries = dict.next().captured(1);
            for (auto entry = kResource.globalMatch(entries); entry.hasNext();) {
                const QRegularExpressionMatch match = entry.next();
                const auto font = objects.find(match.captured(2).toInt());
                if (font == objects.end())
                    continue;
                const std::optional<int> map = Reference(font->second.dictionary, "ToUnicode");
                if (const auto cmap = map ? objects.find(*map) : objects.end(); cmap != objects.end())
                    fonts.insert(match.captured(1).toLatin1(), ReadCharacterMap(cmap->second.stream));
            }
        }
    }
    QString text;
    for (const auto& [number, object] : objects) {
        if (!object.dictionary.contains("/Type /Page") || object.dictionary.contains("/Type /Pages"))
            continue;
        const std::optional<int> contents = Reference(object.dictionary, "Contents");
        if (const auto content = contents ? objects.find(*contents) : objects.end(); content != objects.end())
            text += PageText(content->second.stream, fonts);
    }
    return text;
}

} // namespace apptest
