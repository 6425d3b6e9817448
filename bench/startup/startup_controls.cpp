// The floor of a window with the main window's controls and texts: a plain Qt dialog built from
// the main window's template (the same controls at the same places, with the same texts in the
// same font, the fields condensed) that reads the intro level from the folder it runs in and
// paints it where the board lies. No rule of the game, no data exchange, no fitting of texts,
// no history: what any window showing this much costs. Run it in a folder with the game's files.

#include "FirstPaint.h"
#include "res/DialogTemplates.h"
#include "res/DialogUnits.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyleFactory>

namespace {

// The level picture, painted unsmoothed at the board's place as the game paints it.
class LevelPicture : public QWidget {
public:
    LevelPicture(const QImage& level, QWidget* parent) : QWidget(parent), m_level(level) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, m_level);
    }

private:
    QImage m_level;
};

QWidget* controlFor(const kf::ControlTemplate& t, QWidget* parent) {
    const QString text = QString::fromLatin1(t.text);
    switch (t.cls) {
    case kf::ControlClass::Static:
        if (t.styles & kf::style::SsBitmap)
            return new QWidget(parent);
        return new QLabel(text, parent);
    case kf::ControlClass::Button:
        if (t.styles & kf::style::BsGroupBox)
            return new QGroupBox(text, parent);
        if (t.styles & kf::style::BsAutoRadioButton)
            return new QRadioButton(text, parent);
        return new QPushButton(text, parent);
    case kf::ControlClass::Edit: {
        auto* edit = new QLineEdit(parent);
        QFont narrow = edit->font();
        narrow.setStretch(QFont::Condensed);
        edit->setFont(narrow);
        edit->setFrame(false);
        return edit;
    }
    case kf::ControlClass::Trackbar:
        return new QSlider(Qt::Horizontal, parent);
    }
    return new QWidget(parent);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    kfbench::FirstPaint firstPaint;

    const kf::DialogTemplate& main = kf::dialogTemplate(kf::kMainDialogId);
    QDialog dialog;
    dialog.setWindowTitle(QString::fromLatin1(main.caption));
    dialog.setFixedSize(kf::dialogClientSize(main));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kf::fontPixelSize(main.fontPointSize));
    dialog.setFont(font);
    QPalette palette = dialog.palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    dialog.setPalette(palette);
    dialog.setAutoFillBackground(true);

    const kf::BaseUnits units = kf::baseUnitsForFont(main.fontPointSize);
    for (const kf::ControlTemplate& t : main.controls) {
        QWidget* control =
            t.id == kf::id::main::Board
                ? new LevelPicture(QImage(QStringLiteral("Level_00_INTRO.bmp")), &dialog)
                : controlFor(t, &dialog);
        control->setGeometry(kf::duRectToPixels(t.rect, units));
        control->setEnabled(!(t.styles & kf::style::Disabled));
        control->setVisible(!(t.styles & kf::style::Hidden));
    }
    return dialog.exec();
}
