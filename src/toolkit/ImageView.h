#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>

#include <functional>
#include <optional>

namespace kf {

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

    // A small ring drawn over the picture, centred on the picture pixel at `centre` (picture
    // pixels, fractions between pixels), or none. It is the view's alone: the picture never
    // holds it. A change repaints only where the ring was and where it is now.
    void setMarker(std::optional<QPointF> centre);
    const std::optional<QPointF>& marker() const { return m_marker; }
    // The ring's colour, a blue that no level colour and no trail shares.
    static constexpr QRgb kMarkerColor = 0xFF0070FF;

    // A picture laid over the picture, pixel for pixel from its top-left corner, under the
    // ring; a null picture for none. Like the ring it is the view's alone: the picture never
    // holds it. A change repaints the whole view.
    void setOverlay(const QImage& overlay);
    const QImage& overlay() const { return m_overlay; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Source m_picture;
    std::optional<QPointF> m_marker;
    QImage m_overlay;
};

} // namespace kf
