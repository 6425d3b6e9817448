#pragma once

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
    // Where the marker at `index` lies on the view: its label alone (empty for none), and its
    // ring and label.
    QRect labelRect(qsizetype index) const;
    QRect markerArea(qsizetype index) const;

    Source m_picture;
    QList<BoardMarker> m_markers;
    // The label of each marker, drawn once when it changes, so that a ring that moves costs a
    // copy of its label rather than a layout of its text.
    QList<QImage> m_labels;
    QImage m_overlay;
};

} // namespace kf
