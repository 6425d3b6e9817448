#pragma once

#include "res/DialogTemplate.h"

#include <QDialog>
#include <QHash>
#include <QPixmap>
#include <functional>

class QButtonGroup;
class QMouseEvent;

namespace kf {

class DataExchange;

// What a control reports to its dialog.
enum class Notification {
    Clicked,        // a button click, or a click on a static that reports clicks
    EditChanged,    // the text of an edit changed
    SliderMoved,    // keys or the wheel moved a slider's thumb
    SliderReleased, // the mouse let go of a slider after a click or drag on it
};

// Key flag of the dialogs' mouse handlers: set while the left button is held.
inline constexpr unsigned kMkLButton = 0x0001;

// A dialog built from one of the game's templates. The controls are created afresh from the
// template at every opening, as a new window would be, and reached by their control ids.
// Fields move between members and controls through DoDataExchange. Every dialog is white, or
// tiled with a picture, with black text; edit fields keep the usual colours.
class Dialog : public QDialog {
    Q_OBJECT
public:
    explicit Dialog(int templateId, QWidget* parent = nullptr);

    const DialogTemplate& dialogTemplate() const { return m_template; }

    // Runs the dialog modally and returns id::Ok or id::Cancel (or what EndDialog was given).
    // The window is made at the opening and destroyed when the dialog has closed.
    int DoModal();
    // Opens the dialog without a modal run (the tests and benchmarks drive it themselves).
    void Create();
    void EndDialog(int result);

    QWidget* GetDlgItem(int id) const { return m_controls.value(id, nullptr); }
    template <class W> W* item(int id) const { return qobject_cast<W*>(GetDlgItem(id)); }

    // Writes the fields to the controls (false) or reads and checks them (true); false when a
    // check failed, after its message has been shown and the focus put on that control.
    bool UpdateData(bool saveAndValidate = true);

    // Radio buttons of the template group that begins with `firstId`, in template order.
    QList<QWidget*> radioGroup(int firstId) const;

    // Mouse handlers, called with the key flags (kMkLButton while the left button is held) and
    // the pointer in client pixels, for the input that reaches the dialog itself: a press or a
    // release of the left button, and every movement. Nothing happens by default.
    virtual void OnLButtonDown(unsigned flags, QPoint point);
    virtual void OnMouseMove(unsigned flags, QPoint point);
    virtual void OnLButtonUp(unsigned flags, QPoint point);

    // Covers the whole background with `tile`, repeated from the client origin; a null tile gives
    // back the plain white background. The controls keep their own look.
    void setBackgroundTile(const QImage& tile);

protected:
    virtual void DoDataExchange(DataExchange& dx);
    // Runs after the controls are created at each opening; moves the fields into them.
    virtual bool OnInitDialog();
    // The OK command (id::Ok, or Enter): reads the fields back and closes on success.
    virtual void OnOK();
    // Escape, the close box and id::Cancel: closes without reading the fields.
    virtual void OnCancel();
    // A subclass may supply its own widget for a template control; nullptr for the standard one.
    virtual QWidget* createCustomControl(const ControlTemplate& t, const QRect& pixels);
    // The client rectangle of the first control of the template that `which` picks (empty when
    // none does), known before the dialog ever opens.
    QRect templateControlRect(const std::function<bool(const ControlTemplate&)>& which) const;

    // Whether a pointer event at this client point would reach the dialog itself on the desktop
    // the game was made for, which does not hold on to the pointer while a button is held:
    // only inside the window and not over an enabled control that takes the mouse (the board,
    // plain labels, group boxes and disabled controls let it through).
    bool pointerReachesDialog(QPoint client) const;
    // The key flags of a mouse event: kMkLButton while the left button is held.
    static unsigned mouseFlags(const QMouseEvent* event);

    // Routes a control's notification to a handler of the dialog.
    void route(int id, Notification n, std::function<void()> handler);

    // While a button is held, Qt sends every movement and the release to the pressed window
    // wherever the pointer is; these pass on only what reaches the dialog itself.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;
    void paintEvent(QPaintEvent* event) override;

private:
    void prepareOpening();
    void createControls();
    void connectControl(int id, QWidget* w);
    void dispatch(int id, Notification n);
    // Centred dialogs go to the middle of the screen or the pointer; the others stand at the
    // template's position, in dialog units from the client origin of the window they open over.
    void placeOnScreen();
    void placeOverOwner();
    void boxTextStatics();

    const DialogTemplate& m_template;
    QHash<int, QWidget*> m_controls;
    QList<QButtonGroup*> m_radioGroups;
    QHash<quint64, std::function<void()>> m_handlers;
    QPixmap m_backgroundTile;
};

} // namespace kf
