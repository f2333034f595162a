#include "core/text_convert.h"
#include "net/adwords_result.h"
#include "net/saved_file.h"
#include "net/saved_markup.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

namespace {

using Node = CDownloader_HTMLTags;

QString S(const char16_t* text) {
    return QString::fromUtf16(text);
}

// Keeps the embedded final 0x00 of a literal.
template <size_t N> QByteArray Bytes(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

Node SettingsExample() {
    Node root;
    Node* crawler = root.AddChild(S(u"ProjectCrawler"), false);
    crawler->AddChild(S(u"allowMaxThreads"), true)->SetInt(6);
    crawler->AddChild(S(u"allowCourtesy"), true)->SetBool(false);
    crawler->AddChild(S(u"hist_str"), false)->SetText(S(u"blue widgets"));
    crawler->AddChild(S(u"hist_str"), false)->SetText(S(u"red widgets"));
    return root;
}

QString ReadValue(const Node& root, const QString& key) {
    QString value;
    EXPECT_TRUE(Node::GetString(root.FindFirst({.tag = key}), value)) << key.toStdString();
    return value;
}

TEST(SavedFileFormat, WorkedExampleByteForByte) {
    const QByteArray expected = Bytes("\r\n<ProjectCrawler>"
                                      "\r\n   <allowMaxThreads>6</allowMaxThreads>"
                                      "\r\n   <allowCourtesy>false</allowCourtesy>"
                                      "\r\n   <hist_str>blue widgets</hist_str>"
                                      "\r\n   <hist_str>red widgets</hist_str>"
                                      "\r\n</ProjectCrawler>\0");
    EXPECT_EQ(SavedFileBytes(SettingsExample()), expected);
}

TEST(SavedFileFormat, EmptyDocumentAndValuelessElements) {
    EXPECT_EQ(SavedFileBytes(Node()), QByteArray(1, '\0'));

    Node root;
    root.AddChild(S(u"Project1"), false)->AddChild(S(u"never_set"), true);
    EXPECT_EQ(SavedFileBytes(root), Bytes("\r\n<Project1>\r\n   <never_set></never_set>\r\n</Project1>\0"));

    Node read;
    ParseSavedFileBytes(read, SavedFileBytes(root));
    const Node* element = read.FindFirst({.tag = S(u"never_set")});
    ASSERT_NE(element, nullptr);
    int value = 0;
    EXPECT_FALSE(Node::GetInt(element, value, 42));
    EXPECT_EQ(value, 42);
}

// Values with everything the reader would otherwise fold or take as markup.
QString RandomValue(std::mt19937& random) {
    static const char16_t* pieces[] = {
        u"a",      u"Zebra",  u" ",          u"  ",       u"\r\n",      u"\r",    u"\n",     u"\t",
        u"<",      u">",      u"&",          u"&amp;",    u"&lt;",      u"&#65;", u"&#x41;", u"&nbsp;",
        u"<b>",    u"</b>",   u"<!--",       u"-->",      u"<![CDATA[", u"]]>",   u"<?",     u"?>",
        u"\u00e9", u"\u4e2d", u"\U0001F600", u"\r\n\r\n", u"/>",        u"\"q\"", u"'",      u"##-##"};
    std::uniform_int_distribution<int> count(0, 12);
    std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1);
    QString value;
    for (int n = count(random); n > 0; --n)
        value += QString::fromUtf16(pieces[pick(random)]);
    return value;
}

TEST(SavedFileRoundTrip, ArbitraryValuesReadBackExactly) {
    std::mt19937 random(20261206);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("values.twpx"));

    for (int round = 0; round < 20; ++round) {
        Node root;
        Node* project = root.AddChild(S(u"Project4"), false);
        std::vector<QString> values;
        for (int i = 0; i < 50; ++i) {
            values.push_back(RandomValue(random));
            Node* record = project->AddChild(S(u"record"), false);
            record->AddChild(S(u"value"), true)->SetText(values.back());
        }
        ASSERT_TRUE(SaveTreeToFile(root, path));

        Node read;
        ASSERT_TRUE(LoadTreeFromFile(read, path));
        std::vector<const Node*> records;
        read.FindAll(records, {.tag = S(u"record")});
        ASSERT_EQ(records.size(), values.size());
        for (size_t i = 0; i < values.size(); ++i)
            EXPECT_EQ(ReadValue(*records[i], S(u"value")), values[i]) << "round " << round << " value " << i;
    }
}

TEST(SavedFileRoundTrip, ResavedLoadedFileKeepsItsValues) {
    Node first;
    ParseSavedFileBytes(first, SavedFileBytes(SettingsExample()));
    const QByteArray again = SavedFileBytes(first);
    EXPECT_TRUE(again.startsWith(" \r\n<ProjectCrawler>")) << "the top-level blank is written as one space";

    Node second;
    ParseSavedFileBytes(second, again);
    EXPECT_EQ(ReadValue(second, S(u"allowMaxThreads")), S(u"6"));
    EXPECT_EQ(ReadValue(second, S(u"hist_str")), S(u"blue widgets"));
    EXPECT_EQ(SavedFileBytes(second), again);
}

TEST(SavedFileReading, OldUnescapedFilesReadAsBefore) {
    Node root;
    ParseSavedFileBytes(root, Bytes("\r\n<P>\r\n   <a> lead  and\ttrail </a>\r\n   <b>&lt;x&amp;y</b>"
                                    "\r\n   <c>x <i>y</c>\r\n</P>\0"));
    EXPECT_EQ(ReadValue(root, S(u"a")), S(u" lead and trail "));
    EXPECT_EQ(ReadValue(root, S(u"b")), S(u"<x&y"));
    // A raw "<" before a letter starts a tag: such a value never read back, and still does not.
    EXPECT_NE(ReadValue(root, S(u"c")), S(u"x <i>y"));
}

// The reader decodes a file piece by piece as it reads it; the text must be what decoding all its bytes at
// once gives, wherever a character, a broken sequence or a byte-order mark falls, and however long a stretch
// without a single ASCII byte runs.
TEST(SavedFileReading, FileTextIsItsBytesDecodedWhole) {
    std::mt19937 random(20261207);
    const QByteArray pieces[] = {QByteArray("<kw>"),         QByteArray("a"),
                                 QByteArray("\r\n   "),      QByteArray("caf\xc3\xa9"),
                                 QByteArray("\xe2\x82\xac"), QByteArray("\xf0\x9f\x98\x80"),
                                 QByteArray("\xef\xbb\xbf"), QByteArray("\xe2\x82"),
                                 QByteArray("\xc3"),         QByteArray("\x80\x80"),
                                 QByteArray("\xed\xa0\x80"), QByteArray("\xf8"),
                                 QByteArray(1, '\0')};
    std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1);
    QByteArray mixed;
    while (mixed.size() < 600000)
        mixed += pieces[pick(random)];
    QByteArray noAscii;
    while (noAscii.size() < 300000)
        noAscii += QByteArray("\xe4\xb8\xad\xf0\x9f\x98\x80\xc3");
    const QByteArray files[] = {QByteArray(), QByteArray("\xef\xbb\xbf<P>x</P>"), mixed,
                                noAscii + mixed + noAscii, mixed + QByteArray("\xf0\x9f\x98")};
    QTemporaryDir dir;
    const QString path = dir.filePath(S(u"text.twpx"));
    for (const QByteArray& bytes : files) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
        file.close();
        QString text;
        ASSERT_TRUE(ReadSavedFileText(path, text));
        EXPECT_TRUE(text == Utf8ToWide(bytes)) << "a file of " << bytes.size() << " bytes";
        Node loaded, parsed;
        ASSERT_TRUE(LoadTreeFromFile(loaded, path));
        ParseSavedFileBytes(parsed, bytes);
        EXPECT_EQ(SavedFileBytes(loaded), SavedFileBytes(parsed));
    }
}

TEST(SavedFileReading, MissingFileOrFolderFailsAndLeavesTheDocument) {
    Node root = SettingsExample();
    QTemporaryDir dir;
    EXPECT_FALSE(LoadTreeFromFile(root, dir.filePath(QStringLiteral("missing.zxml"))));
    QString text = S(u"kept");
    EXPECT_FALSE(ReadSavedFileText(dir.filePath(QStringLiteral("missing.zxml")), text));
    EXPECT_EQ(text, S(u"kept"));
    EXPECT_EQ(SavedFileBytes(root), SavedFileBytes(SettingsExample()));
    EXPECT_FALSE(SaveTreeToFile(root, dir.filePath(QStringLiteral("no/folder/settings.zxml"))));
}

// A file stands whole only when nested as the writer nests it. One that lost an end tag or a start tag,
// closes elements out of order or stops inside a tag still reads as far as it goes, but not whole.
TEST(SavedFileReading, WholeOnlyWhenEveryElementIsClosedInOrder) {
    const struct {
        QByteArray bytes;
        bool whole;
    } files[] = {
        {SavedFileBytes(SettingsExample()), true},
        {"\r\n<P>\r\n   <r><a>1</a><b></b></r><!-- <x> --><br><i/>\r\n</p>", true},
        {"<P><r><a>1<b>2</b></r></P>", false},
        {"<P><r><a>1</a><b>2</b><s></s></P>", false},
        {"<P><r><a>1</a></P></r>", false},
        {"<P><r><a>1</r></a></P>", false},
        {"<P><a>1</a></b></P>", false},
        {"<P>1</a></P>", false},
        {"<P><a>1</a></P", false},
        {"<P><a>1</a>", false},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(S(u"nesting.twpx"));
    for (const auto& file : files) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(out.write(file.bytes), file.bytes.size());
        out.close();
        Node loaded;
        bool whole = !file.whole;
        ASSERT_TRUE(LoadTreeFromFile(loaded, path, &whole));
        EXPECT_EQ(whole, file.whole) << file.bytes.toStdString();
        EXPECT_FALSE(loaded.GetChildren().empty()) << file.bytes.toStdString();
    }
}

// A file far larger than the pieces it is written in, with characters of every width: the file holds exactly
// the saved-file bytes, which are the document's text encoded as UTF-8 with its final 0x00.
TEST(SavedFileWriting, LargeFilesAreTheDocumentsTextInUtf8) {
    Node root;
    Node* list = root.AddChild(S(u"keywords"), false);
    for (int i = 0; i < 20000; ++i)
        list->AddChild(S(u"kw"), false)
            ->SetText(QString::number(i) + S(u" caf\u00e9 \u20ac \U0001F600 & <b>\t"));
    QTemporaryDir dir;
    const QString path = dir.filePath(S(u"large.twpx"));
    ASSERT_TRUE(SaveTreeToFile(root, path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    EXPECT_GT(written.size(), 1000000);
    EXPECT_EQ(written, SavedFileBytes(root));
    EXPECT_EQ(written, WideToUtf8(root.ToText(QString(), Node::Escaping::Values)));
    Node loaded;
    ASSERT_TRUE(LoadTreeFromFile(loaded, path));
    std::vector<const Node*> records;
    loaded.FindAll(records, {.tag = S(u"kw")});
    ASSERT_EQ(records.size(), 20000u);
    QString value;
    EXPECT_TRUE(Node::GetString(records[19999], value));
    EXPECT_EQ(value, S(u"19999 caf\u00e9 \u20ac \U0001F600 & <b>\t"));
}

// Records kept as their written text give the bytes their nodes would give, at any depth (the indentation
// stops growing at its limit), inside other kept text, and with an indent before every line.
TEST(SavedFileWriting, PrewrittenRecordsWriteAsTheirNodes) {
    const auto record = [](Node& item, int i) {
        item.AddChild(S(u"keyword"), true)->SetText(S(u"a & b <c>\r\n\t  x ") + QString::number(i));
        item.AddChild(S(u"empty"), true);
        Node* ads = item.AddChild(S(u"ads"), false);
        for (int ad = 0; ad < i; ++ad)
            ads->AddChild(S(u"ad"), false)->AddChild(S(u"pos"), true)->SetInt(ad);
        item.AddChild(S(u"Tail"), false)->SetFloat(0.5f);
    };
    // The same records below `depth` levels: as nodes, and kept as text whose nested lists are kept too.
    const auto document = [&](int depth, bool prewritten) {
        Node root;
        Node* list = &root;
        for (int level = 0; level < depth; ++level)
            list = list->AddChild(S(u"level"), false);
        for (int i = 0; i < 3; ++i) {
            if (!prewritten) {
                record(*list->AddChild(S(u"item"), false), i);
                continue;
            }
            Node scratch;
            Node* item = scratch.AddChild(S(u"item"), false);
            Node inner;
            record(inner, i);
            for (const Node& child : inner.GetChildren())
                item->AddPrewritten(child.Serialize({}, Node::Escaping::Values));
            list->AddPrewritten(scratch.ToText({}, Node::Escaping::Values));
        }
        return root;
    };
    for (const int depth : {0, 1, 2, 31, 32, 40}) {
        const Node plain = document(depth, false);
        const Node kept = document(depth, true);
        EXPECT_EQ(SavedFileBytes(kept), SavedFileBytes(plain)) << depth;
        EXPECT_EQ(kept.ToText(S(u"\t"), Node::Escaping::Values),
                  plain.ToText(S(u"\t"), Node::Escaping::Values))
            << depth;
    }
    const Node kept = document(1, true);
    EXPECT_EQ(kept.FindFirst({.tag = S(u"keyword")}), nullptr) << "queries see no kept record";
    EXPECT_EQ(kept.GetInnerText(false), QString());
}

// A row written straight as markup is the text its nodes give, whichever keys it holds.
TEST(SavedFileWriting, MarkupWriterWritesWhatItsNodesWould) {
    CDownloader_Parsers_Adwords_result full;
    full.keyword = S(u"a  b & <c>\r\n\t\u00E9\U0001F600");
    full.estimatedPosMin = 1;
    full.estimatedPosMax = -2;
    full.keywordGroup = 3;
    full.keywordType = 255;
    full.estimatedSearch = -2.0f;
    full.avgCPC = 0.125f;
    full.avgCTR = 1e9f;
    full.competition = 0.0f;
    full.m_searchTrends.fill(7);
    for (const CDownloader_Parsers_Adwords_result& row : {CDownloader_Parsers_Adwords_result(), full}) {
        Node nodes;
        Node* element = nodes.AddChild(S(u"row"), false);
        row.WriteXml(*element);
        element->AddChild(S(u"list"), false);
        SavedMarkupWriter markup;
        markup.Open(S(u"row"));
        row.Write(markup);
        markup.Open(S(u"list"));
        markup.Close();
        markup.Close();
        EXPECT_EQ(markup.Take(), nodes.ToText({}, Node::Escaping::Values));
    }
}

TEST(SavedFileWriting, EscapingIsForValuesOnly) {
    Node page;
    page.Parse(S(u"<p>a &lt; b &amp; c</p>"));
    EXPECT_EQ(page.ToText(), S(u"\r\n<p>a < b & c</p>"));
    EXPECT_EQ(page.ToText(QString(), Node::Escaping::Values), S(u"\r\n<p>a &lt; b &amp; c</p>"));
    // Comments are never written.
    page.Parse(S(u"<div><!-- note --><b>x</b></div>"));
    EXPECT_EQ(page.ToText(), S(u"\r\n<div>\r\n   <b>x</b>\r\n</div>"));
}

TEST(SavedFileWriting, HostileNestingWritesInLinearSpace) {
    QString text;
    for (int i = 0; i < 100000; ++i)
        text += u"<div>";
    text += u"</x>";
    Node page;
    page.Parse(text);
    const QString written = page.ToText();
    EXPECT_LT(written.size(), 100000 * 220) << "indentation stops growing past a fixed depth";
    Node again;
    again.Parse(written);
    std::vector<const Node*> divs;
    again.FindAll(divs, {.tag = S(u"div")});
    EXPECT_EQ(divs.size(), 1u) << "the outermost div matches and its descendants are not searched";
}

} // namespace
