#include "platform/fade_out.h"

#include <QImage>
#include <QPainter>
#include <QPropertyAnimation>
#include <QWidget>

namespace plat {

namespace {

// The fading copy: a picture in a window the pointer and the keyboard pass through.
class FadingCopy final : public QWidget {
  public:
    explicit FadingCopy(const QImage& picture)
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                               Qt::WindowDoesNotAcceptFocus),
          m_picture(picture) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_DeleteOnClose);
        setFocusPolicy(Qt::NoFocus);
    }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.drawImage(0, 0, m_picture);
    }

  private:
    QImage m_picture;
};

} // namespace

void FadeOutCopy(const Rect& screenRect, const QImage& picture, int durationMs) {
    if (screenRect.isEmpty() || picture.isNull() || durationMs <= 0)
        return;
    auto* copy = new FadingCopy(picture);
    copy->setGeometry(screenRect.left, screenRect.top, screenRect.width(), screenRect.height());
    copy->setWindowOpacity(1.0);
    copy->show();
    auto* fade = new QPropertyAnimation(copy, "windowOpacity", copy);
    fade->setStartValue(1.0);
    fade->setEndValue(0.0);
    fade->setDuration(durationMs);
    QObject::connect(fade, &QAbstractAnimation::finished, copy, &QWidget::close);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace plat
