#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <functional>

namespace kf {

// A ring on the board: centred on the picture pixel at `centre` (picture pixels, fractions
// between pixels), in `color`, with `label` in small letters beside it unless it is empty.
struct BoardMarker {
    QPointF centre;
    QRgb color = 0;
    QString label;

    friend bool operator==(const BoardMarker&, const BoardMarker&) = default;
};

// A control that shows a picture unscaled and nothing else: the board of the main window, the
// creator's canvas. It takes no mouse input, so presses and movements over it reach the dialog
// beneath in client pixels. The picture is asked for at every paint, so it may change.
class ImageView : public QWidget {
    Q_OBJECT
public:
    using Source = std::function<const QImage&()>;

    ImageView(Source picture, QWidget* parent);

    // Puts the picture's top-left corner at `origin` of the dialog and takes the picture's
    // current size; hidden while there is no picture.
    void showAt(QPoint origin);
    // Repaints a changed rectangle given in the dialog's client pixels.
    void updateClientRect(const QRect& client);

    // Small rings drawn over the picture in the list's order, each in its colour and with its
    // label beside it, if any. They are the view's alone: the picture never holds them. A
    // change repaints only where the rings and labels that changed were and are now.
    void setMarkers(const QList<BoardMarker>& markers);
    const QList<BoardMarker>& markers() const { return m_markers; }

    // A picture laid over the picture, pixel for pixel from its top-left corner, under the
    // rings; a null picture for none. Like the rings it is the view's alone: the picture never
    // holds it. A change repaints the whole view.
    void setOverlay(const QImage& overlay);
    const QImage& overlay() const { return m_overlay; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // A marker as painted: its ring, drawn once per colour and quarter-pixel offset, and its
    // label, drawn once when it changes, so that a ring that moves costs two copies of small
    // pictures; and where each lies on the view.
    struct DrawnMarker {
        QImage ring;
        QRect ringAt;
        QImage label;
        QRect labelAt;
    };
    const QImage& ringOf(const BoardMarker& marker);

    Source m_picture;
    QList<BoardMarker> m_markers;
    QList<DrawnMarker> m_drawn;
    QHash<quint64, QImage> m_rings;
    QImage m_overlay;
};

} // namespace kf
