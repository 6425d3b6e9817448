#include "toolkit/Controls.h"

#include "res/Pictures.h"
#include "toolkit/LastingPalette.h"
#include "toolkit/PointerPixel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QStyleOptionSlider>
#include <QStylePainter>
#include <QValidator>

#include <algorithm>

namespace kf {

namespace {

constexpr QRgb kButtonFace = qRgb(240, 240, 240);
constexpr QRgb kButtonText = qRgb(0, 0, 30);

bool has(const ControlTemplate& t, std::uint32_t s) {
    return (t.styles & s) != 0;
}

Qt::FocusPolicy focusPolicyFor(const ControlTemplate& t) {
    return has(t, style::TabStop) ? Qt::StrongFocus : Qt::ClickFocus;
}

QWidget* createButton(const ControlTemplate& t, QWidget* parent) {
    const QString text = QString::fromLatin1(t.text);
    if (has(t, style::BsGroupBox)) {
        auto* box = new QGroupBox(text, parent);
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        return box;
    }
    if (has(t, style::BsAutoRadioButton)) {
        auto* radio = new QRadioButton(text, parent);
        radio->setAutoExclusive(false); // the dialog groups radios by their template groups
        return radio;
    }
    if (has(t, style::BsAutoCheckBox))
        return new QCheckBox(text, parent);
    QPushButton* button = nullptr;
    if (has(t, style::BsOwnerDraw))
        button = new FlatButton(text, parent);
    else if (has(t, style::BsMultiline))
        button = new MultilineButton(text, parent);
    else
        button = new PushButton(text, parent);
    // The dialog decides what Enter does; no button claims it on its own.
    button->setAutoDefault(false);
    button->setDefault(has(t, style::BsDefPushButton));
    return button;
}

// Keeps a button or edit's hold on the mouse in step with its enabled state, as on the desktop
// the game was made for: an enabled control keeps mouse input to itself, a disabled one lets
// it through to the dialog beneath, movements without a button held included.
class MouseHoldFilter : public QObject {
public:
    using QObject::QObject;

    static void apply(QWidget* w) {
        w->setAttribute(Qt::WA_NoMousePropagation, w->isEnabled());
        w->setAttribute(Qt::WA_TransparentForMouseEvents, !w->isEnabled());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange && watched->isWidgetType())
            apply(static_cast<QWidget*>(watched));
        return false;
    }
};

QWidget* createTrackbar(const ControlTemplate& t, QWidget* parent) {
    auto* slider = new TrackbarControl(parent);
    if (has(t, style::TbsAutoTicks)) {
        slider->setTickPosition(has(t, style::TbsBoth) ? QSlider::TicksBothSides
                                                       : QSlider::TicksBelow);
        slider->setTickInterval(1);
    }
    return slider;
}

// The stand-in font runs a little wider than the one the templates were laid out for. A text
// that does not fit its control on one line is set just narrow enough to fit, so no label is
// cut or wrapped away; only a text too long for that on a control with room for more lines is
// left to wrap.
constexpr int kNarrowestStretch = 70;

// The width of `text` in the font of `w`.
int advanceOf(const QWidget* w, const QString& text) {
    return w->fontMetrics().horizontalAdvance(text);
}

// Narrows the font of `w` step by step until `needed(w)` fits into `available` pixels, where
// `text` is the part of that width that narrows with the font (a button's mark keeps its
// width). Each narrowing is a font of its own for the font database to find, so the first
// guess is the ratio of the room to the text's width, rounded up: glyph widths are rounded,
// and the guess is seldom more than a step too wide.
template <class Needed>
void condenseToFit(QWidget* w, const QString& text, int available, Needed needed) {
    int width = needed(w);
    const int textWidth = advanceOf(w, text);
    if (width <= available || textWidth <= 0)
        return;
    QFont narrower = w->font();
    const int room = available - (width - textWidth);
    int stretch = std::clamp((room * 100 + textWidth - 1) / textWidth, kNarrowestStretch, 99);
    for (;;) {
        narrower.setStretch(stretch);
        w->setFont(narrower);
        width = needed(w);
        if (width <= available || stretch == kNarrowestStretch)
            return;
        --stretch;
    }
}

void fitText(QWidget* w, const QRect& pixels) {
    if (auto* s = qobject_cast<StaticControl*>(w)) {
        if (s->text().isEmpty())
            return;
        const auto textWidth = [s](QWidget*) { return advanceOf(s, s->text()); };
        const bool oneLine = pixels.height() < 2 * s->fontMetrics().lineSpacing();
        // A label with room for one line only would lose a wrapped word altogether.
        if (oneLine)
            s->setWordWrap(false);
        if (oneLine || textWidth(s) * kNarrowestStretch <= pixels.width() * 100)
            condenseToFit(s, s->text(), pixels.width(), textWidth);
    } else if (qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w)) {
        condenseToFit(w, static_cast<QAbstractButton*>(w)->text(), pixels.width(),
                      [](QWidget* b) { return b->sizeHint().width(); });
    }
}

} // namespace

StaticControl::StaticControl(const ControlTemplate& t, QWidget* parent)
    : QLabel(parent), m_frame(has(t, style::SsBlackFrame)),
      m_showsText(!has(t, style::SsBitmap) && !m_frame) {
    // Names and texts come from files and players: "<b>Ann" is a name, never markup.
    setTextFormat(Qt::PlainText);
    setText(QString::fromLatin1(t.text));
    Qt::Alignment align = has(t, style::SsCenter) ? Qt::AlignHCenter : Qt::AlignLeft;
    align |= has(t, style::SsCenterImage) ? Qt::AlignVCenter : Qt::AlignTop;
    setAlignment(align);
    setWordWrap(!has(t, style::SsBitmap) && !m_frame);
    if (!m_showsText)
        setText({});
    if (!has(t, style::SsNotify))
        setAttribute(Qt::WA_TransparentForMouseEvents);
}

void StaticControl::setPicture(const QImage& picture) {
    m_picture = picture;
    if (!picture.isNull())
        resize(picture.size());
    update();
}

void StaticControl::setFittedText(const QString& text) {
    setText(text);
    if (!m_picture.isNull() || m_frame)
        return;
    // Start again from the dialog's font: a shorter text may need no narrowing at all.
    setFont(QFont());
    fitText(this, geometry());
}

void StaticControl::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(pointerPixel(event)))
        emit clicked();
}

void StaticControl::paintEvent(QPaintEvent* event) {
    if (!m_picture.isNull()) {
        // The picture is painted here rather than by QLabel, which smooths a pixmap on a scaled
        // screen: each picture pixel must stay a square of its own colour.
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(0, 0, m_picture);
        return;
    }
    if (!m_frame) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawThinFrame(painter, rect(), Qt::black);
}

void drawThinFrame(QPainter& painter, const QRect& rect, const QColor& colour) {
    painter.fillRect(rect.left(), rect.top(), rect.width(), 1, colour);
    painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, colour);
    painter.fillRect(rect.left(), rect.top(), 1, rect.height(), colour);
    painter.fillRect(rect.right(), rect.top(), 1, rect.height(), colour);
}

void DrawFlatButton(QPainter& painter, const QRect& rect, bool pressed, const QString& text) {
    painter.fillRect(rect, QColor(kButtonFace));
    const QColor light(Qt::white), midLight(227, 227, 227), shadow(160, 160, 160),
        dark(105, 105, 105);
    const QColor outerTopLeft = pressed ? shadow : midLight;
    const QColor innerTopLeft = pressed ? dark : light;
    const QColor outerBottomRight = pressed ? light : dark;
    const QColor innerBottomRight = pressed ? midLight : shadow;
    // Each edge line is a filled row or column of pixels, so it stays one pixel at any scale.
    // The lower-right colour goes on last and so takes the top-right and bottom-left corners.
    auto edge = [&](const QRect& e, const QColor& topLeft, const QColor& bottomRight) {
        painter.fillRect(e.left(), e.top(), e.width(), 1, topLeft);
        painter.fillRect(e.left(), e.top(), 1, e.height(), topLeft);
        painter.fillRect(e.left(), e.bottom(), e.width(), 1, bottomRight);
        painter.fillRect(e.right(), e.top(), 1, e.height(), bottomRight);
    };
    // A QRect's right() and bottom() are its last pixels, so the outer edge takes them.
    edge(rect, outerTopLeft, outerBottomRight);
    edge(rect.adjusted(1, 1, -1, -1), innerTopLeft, innerBottomRight);
    painter.setPen(QColor(kButtonText));
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
}

void FlatButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawFlatButton(painter, rect(), isDown(), text());
}

QStyleOptionButton PushButton::faceOption() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    option.palette = lastingPalette(option.palette);
    return option;
}

void PushButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    painter.drawControl(QStyle::CE_PushButton, faceOption());
}

void MultilineButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option = faceOption();
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const int margin = style()->pixelMetric(QStyle::PM_ButtonMargin, &option, this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(rect().adjusted(margin, margin, -margin, -margin),
                     Qt::AlignCenter | Qt::TextWordWrap, text());
}

TrackbarControl::TrackbarControl(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    connect(this, &QAbstractSlider::actionTriggered, this, [this] {
        if (!m_mouseHeld)
            emit movedWithoutMouse();
    });
}

void TrackbarControl::mousePressEvent(QMouseEvent* event) {
    m_mouseHeld = true;
    QSlider::mousePressEvent(event);
}

void TrackbarControl::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    m_mouseHeld = false;
    emit mouseReleased();
}

void TrackbarControl::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    if (tickPosition() != NoTicks)
        option.subControls |= QStyle::SC_SliderTickmarks;
    option.palette = lastingPalette(option.palette);
    painter.drawComplexControl(QStyle::CC_Slider, option);
}

// Typing may shorten a text that is over the limit but never lengthen it past the limit.
// Validators judge only what the user does, so text the program puts in is never cut.
class EditControl::LimitValidator : public QValidator {
public:
    explicit LimitValidator(EditControl& edit) : QValidator(&edit), m_edit(edit) {}
    State validate(QString& input, int&) const override {
        const int limit = m_edit.m_limit;
        if (limit > 0 && input.size() > limit && input.size() > m_edit.m_shown.size())
            return Invalid;
        return Acceptable;
    }

private:
    const EditControl& m_edit;
};

EditControl::EditControl(const ControlTemplate& t, QWidget* parent) : QLineEdit(parent) {
    Qt::Alignment align = Qt::AlignLeft;
    if (has(t, style::EsCenter))
        align = Qt::AlignHCenter;
    else if (has(t, style::EsRight) || has(t, style::ExRight))
        align = Qt::AlignRight;
    setAlignment(align | Qt::AlignVCenter);
    setFrame(has(t, style::Border) || has(t, style::ExDlgModalFrame));
    // The fields are narrow for their numbers (six digits in the best-time field):
    // condensed figures without an inner margin let them fit.
    setTextMargins(0, 0, 0, 0);
    setContentsMargins(0, 0, 0, 0);
    QFont narrow = font();
    narrow.setStretch(QFont::Condensed);
    setFont(narrow);
    setValidator(new LimitValidator(*this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { m_shown = text; });
    markOpaqueWhenFilled();
}

void EditControl::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        markOpaqueWhenFilled();
}

void EditControl::markOpaqueWhenFilled() {
    const QPalette& pal = palette();
    const bool filled = !hasFrame() && pal.brush(QPalette::Active, QPalette::Base).isOpaque() &&
                        pal.brush(QPalette::Inactive, QPalette::Base).isOpaque() &&
                        pal.brush(QPalette::Disabled, QPalette::Base).isOpaque();
    setAttribute(Qt::WA_OpaquePaintEvent, filled);
}

QWidget* createControl(const ControlTemplate& t, const QRect& pixels, QWidget* parent) {
    QWidget* w = nullptr;
    switch (t.cls) {
    case ControlClass::Static: {
        auto* s = new StaticControl(t, parent);
        if (t.picture != 0)
            s->setPicture(resourcePicture(t.picture));
        w = s;
        break;
    }
    case ControlClass::Button:
        w = createButton(t, parent);
        break;
    case ControlClass::Edit:
        w = new EditControl(t, parent);
        break;
    case ControlClass::Trackbar:
        w = createTrackbar(t, parent);
        break;
    }
    const bool isStatic = t.cls == ControlClass::Static || has(t, style::BsGroupBox);
    w->setFocusPolicy(isStatic ? Qt::NoFocus : focusPolicyFor(t));
    if (!isStatic)
        w->installEventFilter(new MouseHoldFilter(w));
    w->setGeometry(pixels);
    fitText(w, pixels);
    if (auto* s = qobject_cast<StaticControl*>(w); s && !s->picture().isNull())
        s->resize(s->picture().size());
    w->setEnabled(!has(t, style::Disabled));
    if (!isStatic)
        MouseHoldFilter::apply(w);
    w->setVisible(!has(t, style::Hidden));
    return w;
}

} // namespace kf
