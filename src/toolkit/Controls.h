#pragma once

#include "res/DialogTemplate.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyleOptionButton>

namespace kf {

// A static control: a line of text, a picture or a black frame. Plain statics let mouse input
// fall through to the dialog beneath; a static with SsNotify reports clicks instead.
class StaticControl : public QLabel {
    Q_OBJECT
public:
    StaticControl(const ControlTemplate& t, QWidget* parent);

    // Shows a picture at its own size, the top-left corner staying where the template put it.
    void setPicture(const QImage& picture);
    // Shows a new text, narrowed as the template's own text is when it would not fit.
    void setFittedText(const QString& text);
    const QImage& picture() const { return m_picture; }
    // A line of text rather than a picture or a frame.
    bool showsText() const { return m_showsText; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_frame = false;
    bool m_showsText = true;
    QImage m_picture;
};

// A push button painted flat: a light face, a two-pixel raised edge (sunken while held down)
// and centred text on one line, the same whether enabled or not.
class FlatButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A push button painted by the application's style, as a plain push button is, but with a
// palette that keeps its cache key (lastingPalette): the faces the style keeps in the pixmap
// cache then serve every opening of the dialog instead of piling up, a set per opening.
class PushButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
    // What the style paints the button from, the lasting palette included.
    QStyleOptionButton faceOption() const;
};

// A push button whose text wraps onto as many lines as its face needs.
class MultilineButton : public PushButton {
    Q_OBJECT
public:
    using PushButton::PushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Paints one flat button face into `rect`.
void DrawFlatButton(QPainter& painter, const QRect& rect, bool pressed, const QString& text);

// Paints the outermost pixel rows and columns of `rect` in `colour`: a frame one pixel wide.
// The pixels are filled rather than drawn as lines with a one-pixel pen, whose line would run
// along the pixel edges and, on a screen scaled to 200 %, sit half a pixel up and to the left.
void drawThinFrame(QPainter& painter, const QRect& rect, const QColor& colour);

// An edit field with a limit on typed characters. Unlike QLineEdit's own maximum length, the
// limit never cuts text that the program puts into the field; it only refuses typing past it.
class EditControl : public QLineEdit {
    Q_OBJECT
public:
    EditControl(const ControlTemplate& t, QWidget* parent);
    void setTypingLimit(int characters) { m_limit = characters; }
    int typingLimit() const { return m_limit; }

protected:
    void changeEvent(QEvent* event) override;

private:
    class LimitValidator;

    // A field without a frame fills its whole rectangle with its base colour, so a new text
    // repaints the field alone, not the group box and dialog beneath it.
    void markOpaqueWhenFilled();

    int m_limit = 0; // 0: no limit
    QString m_shown; // the text as it stands before the change being checked
};

// A slider that tells mouse actions from the others: it reports every release of the mouse on
// it, after a drag of the thumb and after a click on the track alike (QSlider's own
// sliderReleased covers only the thumb), and it reports moves by keys or wheel as they happen.
class TrackbarControl : public QSlider {
    Q_OBJECT
public:
    explicit TrackbarControl(QWidget* parent);

signals:
    void mouseReleased();
    void movedWithoutMouse();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Painted by the style as a plain slider is, with a palette that keeps its cache key, for
    // the same reason as PushButton.
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_mouseHeld = false;
};

// Builds the widget for one template control at its pixel rectangle; nullptr for a class that
// has no widget. `pixels` is the control's rectangle in client pixels.
QWidget* createControl(const ControlTemplate& t, const QRect& pixels, QWidget* parent);

} // namespace kf
