#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Source m_picture;
};

} // namespace kf
