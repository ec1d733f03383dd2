// The about box: the program's name, its authors and its year, closed with OK.
#pragma once

#include <QDialog>
#include <QPixmap>

class QFrame;
class QLabel;
class QPushButton;

namespace tv::ui {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 318;
  static constexpr int kClientHeight = 132;
  // Where the texts start in the panel, right of the picture.
  static constexpr int kTextLeft = 56;

  explicit TAboutBox(QWidget* parent = nullptr);

  // A small Bode diagram: gain falling past a corner, phase sliding down.
  static QPixmap ProgramIconPixmap();

  QFrame* Panel1;
  QLabel* ProgramIcon;
  QLabel* ProductName;  // "Tracevue", and nothing else
  QLabel* Version;
  QLabel* Copyright;
  QLabel* Comments;
  QPushButton* OKButton;

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace tv::ui
