#include "skin/list_box_geometry.h"

#include "core/number_text.h"
#include "skin/list_box_format.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace skin {

namespace {

bool TakesWidth(const CSkinListBox_Column& c) {
    return c.groupRole != CSkinListBox_Column::kGroupHead;
}

constexpr int kGap = 10;
// Room the layout keeps free beside the columns.
constexpr int kLayoutMargin = 3;

// One hexadecimal number as "%X" reads it: blanks skipped, an optional sign, the digits wrapped to 32 bits.
bool ReadHex(const QString& text, qsizetype& at, int& out) {
    while (at < text.size() && text[at].isSpace())
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) {
        negative = text[at] == u'-';
        ++at;
    }
    quint32 v = 0;
    const qsizetype start = at;
    while (at < text.size()) {
        const char16_t c = text[at].unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        if (digit < 0)
            break;
        v = v * 16 + static_cast<quint32>(digit);
        ++at;
    }
    if (at == start)
        return false;
    out = static_cast<int>(negative ? 0u - v : v);
    return true;
}

} // namespace

void DistributeColumnWidths(std::vector<CSkinListBox_Column>& columns, int availableWidth, float fontScale) {
    const auto base = [fontScale](const CSkinListBox_Column& c) {
        const double scaled = std::round(static_cast<double>(c.baseWidth) * fontScale);
        return std::max(c.minWidth, static_cast<int>(std::clamp(
                                        scaled, 0.0, double{std::numeric_limits<int>::max() / 4})));
    };
    qint64 sum = 0;
    qint64 needed = 0;
    int count = 0;
    for (CSkinListBox_Column& c : columns) {
        if (!TakesWidth(c))
            continue;
        c.width = std::max(c.width, c.minWidth);
        sum += c.width;
        needed += base(c) + kGap;
        ++count;
    }
    const qint64 spare = availableWidth - kLayoutMargin - needed;
    for (CSkinListBox_Column& c : columns) {
        if (!TakesWidth(c))
            continue;
        // Columns that are all 0 wide share the room equally.
        const qint64 share = sum > 0 ? c.width * spare / sum : spare / std::max(1, count);
        c.width = static_cast<int>(base(c) + std::max<qint64>(0, share));
    }
}

RowRange PaintedRows(qint64 count, qint64 scrollY, int header, int pitch, int height) {
    if (count <= 0 || pitch <= 0)
        return {};
    scrollY = std::max<qint64>(0, scrollY);
    // A row shows while its bottom is below the header and its top above the bottom edge.
    const qint64 first = std::min(count, scrollY / pitch);
    const qint64 below = height - header + scrollY;
    const qint64 end = below <= 0 ? 0 : std::min(count, (below + pitch - 1) / pitch);
    return {first, std::max(first, end)};
}

int RowsContentHeight(qint64 count, int pitch) {
    const qint64 h = std::max<qint64>(0, count) * std::max(0, pitch) + 1;
    return static_cast<int>(std::min<qint64>(h, std::numeric_limits<int>::max()));
}

BarValue ParseBarText(const QString& text) {
    BarValue bar;
    qsizetype at = 0;
    int total = 1;
    if (ReadHex(text, at, bar.value) && ReadHex(text, at, total))
        bar.total = std::max(1, total);
    return bar;
}

int BarFillWidth(int track, const BarValue& bar) {
    if (track <= 0 || bar.value <= 0)
        return 0;
    const qint64 fill = qint64(track) * bar.value / std::max(1, bar.total);
    return static_cast<int>(std::min<qint64>(fill, track));
}

QString BarLabel(const BarValue& bar) {
    if (bar.value == 0)
        return QString();
    const double percent = 100.0 * bar.value / std::max(1, bar.total);
    return GroupDigits(number_text::FormatFixed(percent, 1)) + QStringLiteral("% (") +
           GroupDigits(number_text::FormatInt(bar.value)) + u')';
}

std::array<int, 12> ParseChartValues(const QString& text) {
    std::array<int, 12> values{};
    qsizetype at = 0;
    for (int& v : values) {
        qsizetype used = 0;
        const std::optional<int> read = number_text::ReadInt(QStringView(text).mid(at), &used);
        if (!read)
            break;
        v = std::clamp(*read, 0, 100);
        at += used;
    }
    return values;
}

} // namespace skin
