// The about box's layout, its picture, and its centring on the screen.
#include "ui/about_box.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "ui/caption_fit.h"
#include "output/fonts.h"

namespace tv::ui {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(tr("A propos"));
  setFont(WindowFont());
  setFixedSize(kClientWidth, kClientHeight);
  setModal(true);

  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setGeometry(8, 8, 302, 81);

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
  ProgramIcon->setGeometry(8, 8, 33, 33);
  ProgramIcon->setPixmap(ProgramIconPixmap());

  // Four lines in the panel: the title alone on the first, then the version.
  const auto line = [this](const char* name, const QString& text, int top) {
    auto* label = new QLabel(text, Panel1);
    label->setObjectName(QString::fromLatin1(name));
    label->move(kTextLeft, top);
    FitCaptionToWidth(*label, Panel1->width() - kTextLeft - 4);
    label->adjustSize();
    return label;
  };
  ProductName = line("ProductName", QStringLiteral("Tracevue"), 4);
  Version = line("Version", QStringLiteral("Version " TRACEVUE_VERSION), 22);
  Copyright = line("Copyright", tr("Diagrammes de Bode et de Black"), 40);
  Comments = line("Comments", tr("Développeurs de Tracevue, 2026"), 58);

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(121, 98, 75, 25);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

QPixmap TAboutBox::ProgramIconPixmap() {
  QPixmap pixmap(33, 33);
  pixmap.fill(Qt::white);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, false);
  // Frame and axes.
  p.setPen(QPen(Qt::black, 1));
  p.drawRect(0, 0, 32, 32);
  p.drawLine(4, 4, 4, 29);
  p.drawLine(4, 16, 29, 16);
  // Gain: flat, then falling past the corner.
  p.setPen(QPen(QColor(0, 0, 255), 2));
  p.drawLine(5, 9, 15, 9);
  p.drawLine(15, 9, 28, 24);
  // Phase: dotted, sliding from 0 down to -90 degrees.
  QPen phase(QColor(255, 0, 0), 1, Qt::DotLine);
  p.setPen(phase);
  p.drawLine(5, 17, 10, 18);
  p.drawLine(10, 18, 20, 26);
  p.drawLine(20, 26, 28, 27);
  return pixmap;
}

void TAboutBox::showEvent(QShowEvent* event) {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  QDialog::showEvent(event);
}

}  // namespace tv::ui
