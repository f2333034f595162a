#include "skin/skin_label.h"

#include "platform/text_format.h"
#include "skin/skin_dlg_base.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

constexpr plat::ColorRef kDisabledShade = plat::Rgb(200, 200, 200);
constexpr plat::ColorRef kDisabledText = plat::Rgb(100, 100, 100);
// Only CR LF breaks a line; a lone CR is drawn in place like any other character.
constexpr unsigned kLineFormat =
    plat::kTextSingleLine | plat::kTextExpandTabs | plat::kTextNoPrefix | plat::kTextLeft | plat::kTextTop;

QStringList CaptionLines(const QString& caption) {
    return caption.split(u"\r\n"_s);
}

} // namespace

CSkinLabel::CSkinLabel() {
    m_className = u"CSkinLabel"_s;
}

CSkinLabel::~CSkinLabel() = default;

const plat::Font* CSkinLabel::ActiveFont() const {
    return m_ownFont ? m_ownFont.get() : m_pSharedFont;
}

void CSkinLabel::Remeasure() {
    if (m_pDlg)
        UpdateTextExtent(m_pDlg->MeasureDC());
}

void CSkinLabel::CreateLabel(CSkinDlgHolder* holder, unsigned id, const QString& text, int x, int y,
                             const QString& command, const QString& tooltip, bool link, bool rightAlign) {
    m_link = link;
    CSkinElement::Create(holder, id, text, command.isNull() ? u""_s : command, 0, tooltip);
    if (x != 0 && y != 0)
        SetPosition(rightAlign ? x - m_width : x, y, m_width, m_height, 0);
}

void CSkinLabel::SetFont(const plat::Font* shared) {
    m_ownFont.reset();
    m_pSharedFont = shared;
    Remeasure();
}

void CSkinLabel::CreateFont(int size, bool bold, bool underline) {
    m_ownFont = std::make_unique<plat::Font>(
        u"Tahoma"_s, size, bold ? plat::kFontWeightBold : plat::kFontWeightNormal, false, underline);
    m_pSharedFont = nullptr;
    Remeasure();
}

void CSkinLabel::SetLink(bool link) {
    m_link = link;
    Redraw();
}

void CSkinLabel::UpdateTextExtent(plat::DeviceContext& dc) {
    m_caption.replace(u"\r\n"_s, u"\n"_s);
    m_caption.replace(u'\n', u"\r\n"_s);
    const plat::Font* previous = ActiveFont() ? dc.selectFont(ActiveFont()) : dc.font();
    int width = 0;
    int height = 0;
    for (const QString& line : CaptionLines(m_caption)) {
        plat::Rect r;
        dc.drawText(line, r, kLineFormat | plat::kTextCalcRect);
        width = qMax(width, r.width());
        height += r.height();
    }
    dc.selectFont(previous);
    if (width + 1 != m_width || height + 1 != m_height)
        SetPosition(-1, -1, width + 1, height + 1, 0);
}

void CSkinLabel::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    if (m_link) {
        dc.setPen(kLinkColor, 1);
        dc.moveTo(x, y + m_height - 3);
        dc.lineTo(x + m_width, y + m_height - 3);
        // A label once shown as a link keeps the link colour: clearing the flag only takes the line away.
        m_textColor = kLinkColor;
    }
    const plat::Font* previousFont = ActiveFont() ? dc.selectFont(ActiveFont()) : dc.font();
    const plat::ColorRef previousColor = dc.textColor();
    const int lineHeight = dc.getTextExtent(QString()).cy;
    const QStringList lines = CaptionLines(m_caption);
    auto drawLines = [&](int left, int top, plat::ColorRef color) {
        dc.setTextColor(color);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const int lineTop = top + int(i) * lineHeight;
            plat::Rect r{left, lineTop, left + m_width, lineTop + lineHeight};
            dc.drawText(lines[i], r, kLineFormat);
        }
    };
    if (m_enabled) {
        drawLines(x, y, m_textColor == kDefaultTextColor ? plat::Rgb(0, 0, 0) : m_textColor);
    } else {
        drawLines(x + 1, y + 1, kDisabledShade);
        drawLines(x, y, kDisabledText);
    }
    dc.setTextColor(previousColor);
    dc.selectFont(previousFont);
}
