#include "platform/native_edit.h"

#include "platform/font.h"
#include "platform/keys.h"
#include "platform/window.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QValidator>
#include <QWheelEvent>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace plat {

namespace {

// Qt's own line edit keeps its text to 32,767 characters unless told otherwise.
constexpr int kDefaultLimit = 32767;
// The text starts where the skin draws it when the field is not being edited.
constexpr int kLineTextMargin = 1;
constexpr int kPlainTextMargin = 3;

QString WithCrLf(QString text) {
    return text.replace(u'\n', u"\r\n"_s);
}

QString WithoutCrLf(QString text) {
    text.replace(u"\r\n"_s, u"\n"_s);
    return text.replace(u'\r', u'\n');
}

// Capitals as the text is typed or pasted.
class UpperCaseValidator final : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

// The way back from a Qt widget to its field; cleared when the field goes, so a widget waiting for its
// deferred deletion reports nothing.
class NativeEditBridge {
  public:
    NativeEdit* owner = nullptr;
    bool settingText = false;
    bool trimming = false;
    int lastChangeEnd = 0;

    static bool rejects(const NativeEdit& edit, const QKeyEvent& key) {
        if (!(edit.m_style & kEditNumber) || (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return false;
        const QString text = key.text();
        return !text.isEmpty() && text.front() >= u' ' &&
               std::any_of(text.begin(), text.end(), [](QChar c) { return !c.isDigit(); });
    }
    void change() {
        if (owner && !settingText && !trimming)
            owner->onChange();
    }
    // A plain field has no limit of its own: what goes past it is cut from the end of the last change.
    void trim(QPlainTextEdit& plain) {
        if (!owner || settingText || trimming)
            return;
        QTextDocument* doc = plain.document();
        const int length = doc->characterCount() - 1;
        const int over = length - owner->m_limit;
        if (over <= 0)
            return;
        const int end = std::min(lastChangeEnd, length);
        QTextCursor cursor(doc);
        cursor.setPosition(std::max(0, end - over));
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        trimming = true;
        cursor.removeSelectedText();
        trimming = false;
    }
    bool keyUp(const QKeyEvent& key) {
        return owner && !key.isAutoRepeat() &&
               owner->onKeyUp(KeyCodeOf(key.key()), ModifiersOf(key.modifiers()));
    }
    void tab(bool backwards) {
        if (owner)
            owner->onTab(backwards);
    }
    void focusIn() {
        if (owner)
            owner->onSetFocus();
    }
    void paint() {
        if (owner)
            owner->onPaint();
    }
    void wheel(const QWidget& widget, const QWheelEvent& event) {
        if (!owner)
            return;
        const QPoint at = widget.parentWidget()->mapFromGlobal(event.globalPosition().toPoint());
        const QPoint angle = event.angleDelta();
        owner->onMouseWheel(angle.y() != 0 ? angle.y() : angle.x(), at.x(), at.y());
    }
};

namespace {

// The Qt edit with the field's key, focus, paint and wheel handling. Key presses the edit does not use (F1)
// still reach the window below; releases never do, as the window acts on releases.
template <class Base> class EditWidget final : public Base {
  public:
    EditWidget(std::shared_ptr<NativeEditBridge> bridge, QWidget* parent)
        : Base(parent), m_keep(std::move(bridge)), m_bridge(*m_keep) {}
    void setLeftViewportMargin(int margin) { this->setViewportMargins(margin, 0, 0, 0); }

  protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                event->accept();
                m_bridge.tab(key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier));
                return true;
            }
        }
        return Base::event(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (m_bridge.owner && NativeEditBridge::rejects(*m_bridge.owner, *event)) {
            event->accept();
            return;
        }
        Base::keyPressEvent(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        event->accept();
        m_bridge.keyUp(*event);
    }
    void focusInEvent(QFocusEvent* event) override {
        Base::focusInEvent(event);
        m_bridge.focusIn();
    }
    void paintEvent(QPaintEvent* event) override {
        Base::paintEvent(event);
        m_bridge.paint();
    }
    void wheelEvent(QWheelEvent* event) override {
        event->accept();
        m_bridge.wheel(*this, *event);
    }

  private:
    std::shared_ptr<NativeEditBridge> m_keep; // the widget may outlive the field until its deferred deletion
    NativeEditBridge& m_bridge;
};

} // namespace

struct NativeEdit::Data {
    std::shared_ptr<NativeEditBridge> bridge = std::make_shared<NativeEditBridge>();
    QPointer<QWidget> widget;
    QLineEdit* line = nullptr;
    QPlainTextEdit* plain = nullptr;
    bool focusWhenShown = false;
};

NativeEdit::NativeEdit(Window& parent, const Rect& rect, unsigned style, const Font& font)
    : m_style(style), m_limit(kDefaultLimit), m_d(std::make_unique<Data>()) {
    m_d->bridge->owner = this;
    QWidget* host = parent.widget();
    if (style & kEditMultiLine) {
        auto* plain = new EditWidget<QPlainTextEdit>(m_d->bridge, host);
        plain->setFrameShape(QFrame::NoFrame);
        plain->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        plain->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        plain->setLineWrapMode((style & kEditAutoHScroll) ? QPlainTextEdit::NoWrap
                                                          : QPlainTextEdit::WidgetWidth);
        plain->setLeftViewportMargin(kPlainTextMargin);
        plain->document()->setDocumentMargin(0);
        if (style & kEditRightAlign) {
            QTextOption option = plain->document()->defaultTextOption();
            option.setAlignment(Qt::AlignRight);
            plain->document()->setDefaultTextOption(option);
        }
        plain->viewport()->setAcceptDrops(false);
        const std::shared_ptr<NativeEditBridge> kept = m_d->bridge;
        QObject::connect(plain->document(), &QTextDocument::contentsChange, plain,
                         [kept](int position, int, int added) { kept->lastChangeEnd = position + added; });
        QObject::connect(plain, &QPlainTextEdit::textChanged, plain, [kept, plain] {
            kept->trim(*plain);
            kept->change();
        });
        m_d->plain = plain;
        m_d->widget = plain;
    } else {
        auto* line = new EditWidget<QLineEdit>(m_d->bridge, host);
        line->setFrame(false);
        line->setTextMargins(kLineTextMargin, 0, 0, 0);
        line->setAlignment(((style & kEditRightAlign) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
        line->setMaxLength(m_limit);
        if (style & kEditPassword)
            line->setEchoMode(QLineEdit::Password);
        if (style & kEditUpperCase)
            line->setValidator(new UpperCaseValidator(line));
        const std::shared_ptr<NativeEditBridge> kept = m_d->bridge;
        QObject::connect(line, &QLineEdit::textEdited, line, [kept] { kept->change(); });
        m_d->line = line;
        m_d->widget = line;
    }
    QWidget* w = m_d->widget;
    // Drops go to the window below, which hands them to the element under the pointer.
    w->setAcceptDrops(false);
    w->setFont(font.qfont());
    // Password dots as the skin draws them when the field is not being edited.
    w->setStyleSheet(u"QLineEdit, QPlainTextEdit { border: none; background: white; color: black; "
                     "lineedit-password-character: 9679; }"_s);
    w->setGeometry(rect.left, rect.top, rect.width(), rect.height());
    w->show();
}

NativeEdit::~NativeEdit() {
    m_d->bridge->owner = nullptr;
    QWidget* w = m_d->widget;
    if (!w)
        return;
    if (w->hasFocus() && w->parentWidget())
        w->parentWidget()->setFocus(Qt::OtherFocusReason);
    w->hide();
    // The field may go inside one of the widget's own handlers.
    w->deleteLater();
}

QWidget* NativeEdit::widget() const {
    return m_d->widget;
}

void NativeEdit::setText(const QString& text) {
    if (!m_d->widget)
        return;
    m_d->bridge->settingText = true;
    if (m_d->plain)
        m_d->plain->setPlainText(WithoutCrLf(text).left(m_limit));
    else
        m_d->line->setText(text);
    m_d->bridge->settingText = false;
}

QString NativeEdit::text() const {
    if (!m_d->widget)
        return QString();
    return m_d->plain ? WithCrLf(m_d->plain->toPlainText()) : m_d->line->text();
}

void NativeEdit::setLimitText(int characters) {
    m_limit = std::max(0, characters);
    if (m_d->line)
        m_d->line->setMaxLength(m_limit);
}

void NativeEdit::selectAll() {
    if (m_d->plain)
        m_d->plain->selectAll();
    else if (m_d->line)
        m_d->line->selectAll();
}

void NativeEdit::setCaretToEnd() {
    if (m_d->plain) {
        m_d->plain->moveCursor(QTextCursor::End);
        m_d->plain->ensureCursorVisible();
    } else if (m_d->line) {
        m_d->line->end(false);
    }
}

void NativeEdit::setCaretAt(Point p) {
    if (m_d->plain) {
        m_d->plain->setTextCursor(m_d->plain->cursorForPosition(QPoint(p.x - kPlainTextMargin, p.y)));
        m_d->plain->ensureCursorVisible();
    } else if (m_d->line) {
        m_d->line->setCursorPosition(m_d->line->cursorPositionAt(QPoint(p.x, p.y)));
    }
}

namespace {

// A position in the text with CR LF line breaks, from one in the editor's own text with LF.
int CrLfPosition(const QString& plain, int position) {
    const int end = std::clamp(position, 0, int(plain.size()));
    return end + int(QStringView(plain).first(end).count(u'\n'));
}

// The other way: a position inside a CR LF pair stands before it.
int PlainPosition(const QString& plain, int position) {
    int crlf = 0;
    for (int i = 0; i < plain.size(); ++i) {
        const int next = crlf + (plain[i] == u'\n' ? 2 : 1);
        if (next > position)
            return i;
        crlf = next;
    }
    return int(plain.size());
}

} // namespace

void NativeEdit::getSel(int* start, int* end) const {
    int from = 0;
    int to = 0;
    if (m_d->plain) {
        const QTextCursor cursor = m_d->plain->textCursor();
        const QString plain = m_d->plain->toPlainText();
        from = CrLfPosition(plain, cursor.selectionStart());
        to = CrLfPosition(plain, cursor.selectionEnd());
    } else if (m_d->line) {
        from = to = m_d->line->cursorPosition();
        if (m_d->line->hasSelectedText()) {
            from = m_d->line->selectionStart();
            to = m_d->line->selectionEnd();
        }
    }
    if (start)
        *start = from;
    if (end)
        *end = to;
}

void NativeEdit::setSel(int anchor, int caret) {
    if (m_d->plain) {
        QTextCursor cursor = m_d->plain->textCursor();
        if (anchor == -1) {
            cursor.clearSelection();
        } else {
            const QString plain = m_d->plain->toPlainText();
            const int length = int(plain.size());
            cursor.setPosition(std::min(PlainPosition(plain, anchor), length));
            cursor.setPosition(caret == -1 ? length : std::min(PlainPosition(plain, caret), length),
                               QTextCursor::KeepAnchor);
        }
        m_d->plain->setTextCursor(cursor);
        m_d->plain->ensureCursorVisible();
    } else if (m_d->line) {
        QLineEdit& line = *m_d->line;
        if (anchor == -1) {
            line.deselect();
            return;
        }
        const int length = int(line.text().size());
        const int from = std::clamp(anchor, 0, length);
        const int to = caret == -1 ? length : std::clamp(caret, 0, length);
        line.setSelection(from, to - from);
    }
}

void NativeEdit::replaceSel(const QString& text) {
    if (m_d->plain) {
        // The editor cuts what goes past the limit and reports the change itself, whose handling may end
        // this field.
        QPlainTextEdit* plain = m_d->plain;
        const std::shared_ptr<NativeEditBridge> kept = m_d->bridge;
        QTextCursor cursor = plain->textCursor();
        cursor.insertText(WithoutCrLf(text));
        if (!kept->owner)
            return;
        plain->setTextCursor(cursor);
        plain->ensureCursorVisible();
    } else if (m_d->line) {
        // A line has no line breaks; insert keeps to the length limit.
        m_d->line->insert(WithoutCrLf(text).replace(u'\n', u' '));
        m_d->bridge->change();
    }
}

int NativeEdit::firstVisibleLine() const {
    return m_d->plain ? m_d->plain->verticalScrollBar()->value() : 0;
}

void NativeEdit::lineScroll(int lines) {
    if (m_d->plain) {
        QScrollBar* bar = m_d->plain->verticalScrollBar();
        bar->setValue(bar->value() + lines);
    }
}

void NativeEdit::place(const Rect& rect, const Rect& visible) {
    QWidget* w = m_d->widget;
    if (!w)
        return;
    w->setGeometry(rect.left, rect.top, rect.width(), rect.height());
    const Rect shown = rect.intersected(visible);
    if (shown.isEmpty()) {
        // A hidden widget loses the focus; it takes it back when it shows again.
        if (w->isVisibleTo(w->parentWidget()))
            m_d->focusWhenShown = w->hasFocus();
        w->hide();
        return;
    }
    if (shown == rect)
        w->clearMask();
    else
        w->setMask(QRegion(shown.left - rect.left, shown.top - rect.top, shown.width(), shown.height()));
    if (!w->isVisibleTo(w->parentWidget())) {
        w->show();
        if (m_d->focusWhenShown)
            w->setFocus(Qt::OtherFocusReason);
        m_d->focusWhenShown = false;
    }
}

Rect NativeEdit::geometry() const {
    const QWidget* w = m_d->widget;
    return w ? Rect::fromXywh(w->x(), w->y(), w->width(), w->height()) : Rect{};
}

bool NativeEdit::isShown() const {
    const QWidget* w = m_d->widget;
    return w && w->isVisibleTo(w->parentWidget());
}

void NativeEdit::setFocus() {
    if (m_d->widget)
        m_d->widget->setFocus(Qt::OtherFocusReason);
}

bool NativeEdit::hasFocus() const {
    return m_d->widget && m_d->widget->hasFocus();
}

} // namespace plat
