#include "toolkit/Dialog.h"

#include "res/DialogTemplates.h"
#include "res/DialogUnits.h"
#include "toolkit/Controls.h"
#include "toolkit/DataExchange.h"
#include "toolkit/PointerPixel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCursor>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>

namespace kf {

namespace {

quint64 routeKey(int id, Notification n) {
    return static_cast<quint64>(static_cast<quint32>(id)) << 8 | static_cast<quint64>(n);
}

Qt::WindowFlags windowFlagsFor(std::uint32_t s) {
    Qt::WindowFlags flags = Qt::Dialog;
    if (s & dialogStyle::Caption) {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (s & dialogStyle::SysMenu)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (s & dialogStyle::MinimizeBox)
            flags |= Qt::WindowMinimizeButtonHint;
    } else {
        flags |= Qt::FramelessWindowHint;
    }
    return flags;
}

} // namespace

Dialog::Dialog(int templateId, QWidget* parent)
    : QDialog(parent), m_template(kf::dialogTemplate(templateId)) {
    setWindowFlags(windowFlagsFor(m_template.styles));
    setWindowTitle(QString::fromLatin1(m_template.caption));
    setFixedSize(dialogClientSize(m_template));

    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(fontPixelSize(m_template.fontPointSize));
    setFont(font);

    // White background and black text for the dialog, its statics and buttons.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    pal.setColor(QPalette::ButtonText, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
}

void Dialog::createControls() {
    qDeleteAll(m_controls);
    m_controls.clear();
    qDeleteAll(m_radioGroups);
    m_radioGroups.clear();

    const BaseUnits bu = baseUnitsForFont(m_template.fontPointSize);
    QButtonGroup* group = nullptr;
    QWidget* previousFocus = nullptr;
    int unnamed = 0;
    for (const ControlTemplate& t : m_template.controls) {
        const QRect pixels = duRectToPixels(t.rect, bu);
        QWidget* w = createCustomControl(t, pixels);
        if (!w)
            w = createControl(t, pixels, this);
        // Each control goes beneath the ones before it: where controls overlap, the earlier in
        // the template stays on top, as it does in tab order. Group boxes frame the others and
        // go beneath them all.
        w->lower();
        if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            if (!group || (t.styles & style::Group)) {
                group = new QButtonGroup(this);
                m_radioGroups.append(group);
            }
            group->addButton(radio);
        } else if (t.styles & style::Group) {
            group = nullptr;
        }
        if (w->focusPolicy() != Qt::NoFocus) {
            if (previousFocus)
                setTabOrder(previousFocus, w);
            previousFocus = w;
        }
        // Controls without an id are kept too (under negative keys) so they are rebuilt and
        // released with the others.
        const int key = t.id == id::None ? -(++unnamed) - 1 : t.id;
        m_controls.insert(key, w);
        if (t.id != id::None)
            connectControl(t.id, w);
    }
    for (QGroupBox* box : findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
        box->lower();
    boxTextStatics();
}

void Dialog::connectControl(int id, QWidget* w) {
    if (auto* s = qobject_cast<StaticControl*>(w)) {
        connect(s, &StaticControl::clicked, this,
                [this, id] { dispatch(id, Notification::Clicked); });
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        connect(b, &QAbstractButton::clicked, this, [this, id] {
            if (id == id::Ok && !m_handlers.contains(routeKey(id, Notification::Clicked)))
                OnOK();
            else if (id == id::Cancel && !m_handlers.contains(routeKey(id, Notification::Clicked)))
                OnCancel();
            else
                dispatch(id, Notification::Clicked);
        });
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        connect(e, &QLineEdit::textChanged, this,
                [this, id] { dispatch(id, Notification::EditChanged); });
    } else if (auto* sl = qobject_cast<TrackbarControl*>(w)) {
        connect(sl, &TrackbarControl::movedWithoutMouse, this,
                [this, id] { dispatch(id, Notification::SliderMoved); });
        connect(sl, &TrackbarControl::mouseReleased, this,
                [this, id] { dispatch(id, Notification::SliderReleased); });
    }
}

bool Dialog::pointerReachesDialog(QPoint client) const {
    if (!rect().contains(client))
        return false;
    // childAt skips the controls that let mouse input through.
    const QWidget* child = childAt(client);
    return !child || !child->isEnabled();
}

unsigned Dialog::mouseFlags(const QMouseEvent* event) {
    return (event->buttons() & Qt::LeftButton) ? kMkLButton : 0u;
}

void Dialog::OnLButtonDown(unsigned, QPoint) {}
void Dialog::OnMouseMove(unsigned, QPoint) {}
void Dialog::OnLButtonUp(unsigned, QPoint) {}

void Dialog::mousePressEvent(QMouseEvent* event) {
    const QPoint point = pointerPixel(event);
    if (event->button() == Qt::LeftButton && pointerReachesDialog(point))
        OnLButtonDown(mouseFlags(event), point);
    else
        QDialog::mousePressEvent(event);
}

// The first movement back into the dialog is then a step from the last point it accepted.
void Dialog::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = pointerPixel(event);
    if (pointerReachesDialog(point))
        OnMouseMove(mouseFlags(event), point);
}

void Dialog::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint point = pointerPixel(event);
    if (event->button() == Qt::LeftButton && pointerReachesDialog(point))
        OnLButtonUp(mouseFlags(event), point);
    else
        QDialog::mouseReleaseEvent(event);
}

QRect Dialog::templateControlRect(const std::function<bool(const ControlTemplate&)>& which) const {
    for (const ControlTemplate& c : m_template.controls) {
        if (which(c))
            return duRectToPixels(c.rect, baseUnitsForFont(m_template.fontPointSize));
    }
    return {};
}

void Dialog::route(int id, Notification n, std::function<void()> handler) {
    m_handlers.insert(routeKey(id, n), std::move(handler));
}

void Dialog::dispatch(int id, Notification n) {
    const auto it = m_handlers.constFind(routeKey(id, n));
    if (it != m_handlers.constEnd())
        (*it)();
}

QWidget* Dialog::createCustomControl(const ControlTemplate&, const QRect&) {
    return nullptr;
}

QList<QWidget*> Dialog::radioGroup(int firstId) const {
    QWidget* first = GetDlgItem(firstId);
    for (QButtonGroup* g : m_radioGroups) {
        const QList<QAbstractButton*> buttons = g->buttons();
        if (!buttons.isEmpty() && buttons.first() == first) {
            QList<QWidget*> result;
            for (QAbstractButton* b : buttons)
                result.append(b);
            return result;
        }
    }
    return {};
}

void Dialog::prepareOpening() {
    createControls();
    // OnInitDialog answers true when the first control that takes the tab key should get the
    // focus, false when it has placed the focus itself.
    if (OnInitDialog()) {
        for (const ControlTemplate& t : m_template.controls) {
            QWidget* w = GetDlgItem(t.id);
            if (w && (t.styles & style::TabStop) && w->isEnabled() && !w->isHidden()) {
                w->setFocus();
                break;
            }
        }
    }
    placeOnScreen();
}

void Dialog::Create() {
    prepareOpening();
    show();
}

int Dialog::DoModal() {
    prepareOpening();
    const int result = exec();
    // Closing took the window off the desktop but kept Qt's object for it, and with it a
    // connection that each activation of the window adds and none takes away. The object goes
    // now; the next opening makes a new window, as every opening of a dialog does.
    destroy();
    return result;
}

void Dialog::placeOnScreen() {
    const std::uint32_t s = m_template.styles;
    if (!(s & (dialogStyle::Center | dialogStyle::CenterMouse))) {
        placeOverOwner();
        return;
    }
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QPoint centre = (s & dialogStyle::CenterMouse) ? QCursor::pos() : area.center();
    QRect frame({}, size());
    frame.moveCenter(centre);
    // Keep the whole box on the screen even when the pointer is near an edge.
    frame.moveLeft(std::clamp(frame.left(), area.left(),
                              std::max(area.left(), area.right() - frame.width() + 1)));
    frame.moveTop(std::clamp(frame.top(), area.top(),
                             std::max(area.top(), area.bottom() - frame.height() + 1)));
    move(frame.topLeft());
}

void Dialog::placeOverOwner() {
    // The window it opens over: the topmost modal dialog, else the active window.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner || owner == this)
        owner = QApplication::activeWindow();
    if (!owner || owner == this)
        return;
    const BaseUnits bu = baseUnitsForFont(m_template.fontPointSize);
    const QPoint offset(duToPixelsX(m_template.rect.x, bu), duToPixelsY(m_template.rect.y, bu));
    move(owner->mapToGlobal(QPoint(0, 0)) + offset);
}

void Dialog::EndDialog(int result) {
    done(result);
}

bool Dialog::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.failed();
}

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::OnOK() {
    if (UpdateData(true))
        EndDialog(id::Ok);
}

void Dialog::OnCancel() {
    EndDialog(id::Cancel);
}

void Dialog::reject() {
    OnCancel();
}

void Dialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // A focused push button takes Enter; otherwise it is the OK command, through the
        // default button where the template has one.
        if (auto* b = qobject_cast<QPushButton*>(focusWidget()); b && b->isEnabled()) {
            b->click();
        } else if (auto* ok = item<QPushButton>(id::Ok); ok && ok->isEnabled()) {
            ok->click();
        } else {
            OnOK();
        }
        event->accept();
        return;
    }
    case Qt::Key_Escape:
        event->accept();
        OnCancel();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void Dialog::setBackgroundTile(const QImage& tile) {
    m_backgroundTile = QPixmap::fromImage(tile);
    boxTextStatics();
    update();
}

void Dialog::boxTextStatics() {
    // Every text static is a white box with black text, as on the desktop the game was made for,
    // so names and numbers stay readable on any tile. On a plain white dialog the box would only
    // show where a group box shades its inside, so it is left out there.
    for (QWidget* w : std::as_const(m_controls)) {
        if (auto* s = qobject_cast<StaticControl*>(w); s && s->showsText())
            s->setAutoFillBackground(!m_backgroundTile.isNull());
    }
}

void Dialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    // The tile lies over the white that the background fill has already painted.
    if (!m_backgroundTile.isNull())
        painter.drawTiledPixmap(rect(), m_backgroundTile);
    // Pop-ups without a caption get the thin border the desktop would draw around them.
    if (m_template.styles & dialogStyle::ThinBorder)
        drawThinFrame(painter, rect(), QColor(100, 100, 100));
}

} // namespace kf
