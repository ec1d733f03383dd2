// The parameter controls of the top panel: six radio buttons, five spin buttons, the Définir
// entries.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "core/diagram_state.h"
#include "core/parameters.h"
#include "ui/dialogs.h"
#include "ui/spin_button.h"

class QAction;
class QButtonGroup;
class QLabel;
class QRadioButton;
class QWidget;

namespace tv::ui {

class ParameterControls : public QObject {
  Q_OBJECT

 public:
  // Creates RadioButton1..6, Label12, Label13, SpinButton1..5 and Label7..11
  // on the panel at their positions. Their changes end in the host's redraw
  // (s.Host: the diagram, then the picture on screen).
  // Asks through s's host, looked up at each question.
  ParameterControls(QWidget* panel, tv::DiagramState& s);

  // The six Définir entries (GainK1 "Gain K", A1 "A", B2 "B", B1 "T", W1 "W",
  // Ksi1 "Ksi"), created by the main window's menu. Each asks for a typed value.
  void AttachMenuEntries(QAction* gainK1, QAction* a1, QAction* b2, QAction* b1, QAction* w1,
                         QAction* ksi1);

  // Each radio button's caption: its prefix and the parameter's value.
  void RefreshParameterCaptions();
  // A parameter's radio button, and then its Définir entry, are enabled only
  // while one of the six function texts uses it.
  void RefreshParameterAvailability();
  // Adds delta to the selected parameter unless the sum is negative; refreshes
  // the captions and redraws in every case.
  void StepSelectedParameter(double delta);
  // Asks for a new value until the text is a whole number >= 0; the value is
  // stored after every answer.
  void EnterParameterValue(const QString& name, double& parameter);
  // The parameter the arrows would step: the document's selected one, when
  // its radio button is enabled (K always); none otherwise.
  std::optional<tv::Parameter> SelectedParameter() const;
  // Stores a value found by the program as a typed one is stored: the
  // captions, then the picture, follow.
  void SetParameterValue(tv::Parameter p, double value);

  QRadioButton* RadioButton(int n);  // 1..6
  SpinButton* Spin(int n);           // 1..5
  QLabel* Label(int n);              // 7..13
  QButtonGroup* Group() const { return group_; }
  // The Définir entry of RadioButton n (1..6), once attached.
  QAction* MenuEntry(int n);

 private:
  double& Value(int row);
  void RadioButtonClick(int row);
  bool IsEnabledOnPanel(int row) const;
  // The row the spin arrows step from the radio buttons, or -1.
  int RowToStep() const;

  QWidget* panel_;
  tv::DiagramState& s_;
  std::array<QRadioButton*, 6> radio_{};
  std::array<QAction*, 6> entries_{};
  std::array<SpinButton*, 5> spins_{};
  std::array<QLabel*, 5> stepLabels_{};  // Label7..Label11
  QLabel* label12_ = nullptr;
  QLabel* label13_ = nullptr;
  QButtonGroup* group_ = nullptr;
};

}  // namespace tv::ui
