#include "toolkit/Controls.h"

#include "res/Pictures.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QSlider>
#include <QValidator>

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
    QPushButton* button =
        has(t, style::BsOwnerDraw) ? new FlatButton(text, parent) : new QPushButton(text, parent);
    // The dialog decides what Enter does; no button claims it on its own.
    button->setAutoDefault(false);
    button->setDefault(has(t, style::BsDefPushButton));
    return button;
}

QWidget* createTrackbar(const ControlTemplate& t, QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    if (has(t, style::TbsAutoTicks)) {
        slider->setTickPosition(has(t, style::TbsBoth) ? QSlider::TicksBothSides
                                                       : QSlider::TicksBelow);
        slider->setTickInterval(1);
    }
    return slider;
}

} // namespace

StaticControl::StaticControl(const ControlTemplate& t, QWidget* parent)
    : QLabel(QString::fromLatin1(t.text), parent), m_frame(has(t, style::SsBlackFrame)) {
    Qt::Alignment align = has(t, style::SsCenter) ? Qt::AlignHCenter : Qt::AlignLeft;
    align |= has(t, style::SsCenterImage) ? Qt::AlignVCenter : Qt::AlignTop;
    setAlignment(align);
    setWordWrap(!has(t, style::SsBitmap) && !m_frame);
    if (has(t, style::SsBitmap) || m_frame)
        setText({});
    if (!has(t, style::SsNotify))
        setAttribute(Qt::WA_TransparentForMouseEvents);
}

void StaticControl::setPicture(const QImage& picture) {
    m_picture = picture;
    if (picture.isNull()) {
        clear();
        return;
    }
    setPixmap(QPixmap::fromImage(picture));
    resize(picture.size());
}

void StaticControl::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void StaticControl::paintEvent(QPaintEvent* event) {
    if (!m_frame) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void DrawFlatButton(QPainter& painter, const QRect& rect, bool pressed, const QString& text) {
    painter.fillRect(rect, QColor(kButtonFace));
    const QColor light(Qt::white), midLight(227, 227, 227), shadow(160, 160, 160),
        dark(105, 105, 105);
    const QColor outerTopLeft = pressed ? shadow : midLight;
    const QColor innerTopLeft = pressed ? dark : light;
    const QColor outerBottomRight = pressed ? light : dark;
    const QColor innerBottomRight = pressed ? midLight : shadow;
    auto edge = [&](const QRect& e, const QColor& topLeft, const QColor& bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(e.topLeft(), e.topRight());
        painter.drawLine(e.topLeft(), e.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(e.bottomLeft(), e.bottomRight());
        painter.drawLine(e.topRight(), e.bottomRight());
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
    // Buttons and edits keep the mouse to themselves, as on the desktop the game was made for.
    if (!isStatic)
        w->setAttribute(Qt::WA_NoMousePropagation);
    w->setGeometry(pixels);
    if (auto* s = qobject_cast<StaticControl*>(w); s && !s->picture().isNull())
        s->resize(s->picture().size());
    w->setEnabled(!has(t, style::Disabled));
    w->setVisible(!has(t, style::Hidden));
    return w;
}

} // namespace kf
