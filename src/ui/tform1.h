// The main window Form1: menus, the top panel's display controls, the picture, start-up and resize.
#pragma once

#include <QColor>
#include <QImage>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <string_view>

#include "core/diagram_host.h"
#include "core/diagram_state.h"
#include "render/draw_target.h"
#include "render/sweep_memo.h"
#include "ui/dialogs.h"
#include "ui/followers.h"

class QAction;
class QPrinter;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QToolButton;

namespace tv::ui {

class DesktopLauncher;
class MeasuresWindow;
class NyquistWindow;
class ParameterControls;
struct PictureContext;
class QtSurface;
class StepWindow;
class LocusWindow;
class TAboutBox;
class TForm2;
class TForm3;

class TForm1 : public QMainWindow, public tv::DiagramHost {
  Q_OBJECT

 public:
  // The plot's default size; the client area is wider by the picture's
  // scroll bar (PictureBarWidth).
  static constexpr int kClientWidth = tv::kDefaultPlotWidth;
  static constexpr int kClientHeight = tv::kDefaultPlotHeight;
  // Largest client area (a window of at most 1150 x 850 with its frame).
  static constexpr int kMaxClientWidth = 1134;
  static constexpr int kMaxClientHeight = 792;
  static constexpr int kPanelHeight = 65;

  // Runs the start-up: sizes, defaults, the first redraw, and the transfer
  // file named by arguments.front() when there is one. Every question goes
  // through dialogs.
  TForm1(tv::DiagramState& s, Dialogs& dialogs, const QStringList& arguments = {},
         QWidget* parent = nullptr);
  ~TForm1() override;

  // DiagramHost.
  // The redraw driver on the window's picture; every control ends in it.
  void Redraw() override;
  void ClearPicture() override;
  void CurveTickChanged(int box) override;
  void SetPanelInvalid(bool invalid) override;
  void UpdateProductCaption() override;
  void RefreshParameterCaptions() override;
  void RefreshParameterAvailability() override;
  void ClearEditorText() override;
  void AppendEditorLine(std::string_view line) override;
  void ScrollToTop() override;
  void Beep() override;
  Dialogs* Questions() override { return &dialogs_; }

  // The default beep, 20 times.
  void AlarmBeep();
  // How many times Redraw ran (tests count redraws with it).
  int RedrawCount() const { return redrawCount_; }

  // The picture as last drawn (clipboard, bitmap and tests).
  const QImage& Picture() const;
  QColor PanelColour() const;
  // The refused ticked functions and why, for the red panel's tooltip.
  QString RefusedFunctionsText() const;
  tv::DiagramState& State() { return s_; }
  const tv::DrawTarget& Target() const { return target_; }
  const tv::FrameResult& Frame() const { return frame_; }
  ParameterControls* Parameters() const { return parameters_; }
  TForm3* Form3() const { return form3_; }
  TForm2* Form2() const { return form2_; }
  // The time-response and locus windows, made now if not yet opened.
  StepWindow* StepResponseWindow();
  LocusWindow* PoleLocusWindow();
  TAboutBox* AboutBox() const { return aboutBox_; }
  // The read-outs window, once "Mesures..." has opened it.
  MeasuresWindow* Measures() const;
  // The Nyquist window, once Analyse > "Lieu de Nyquist" has opened it.
  NyquistWindow* Nyquist() const;
  // The column of the picture's vertical scroll bar, right of the plot.
  int PictureBarWidth() const;

  // Top panel.
  QFrame* Panel1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QCheckBox* CheckBox3 = nullptr;
  QCheckBox* CheckBox4 = nullptr;
  QCheckBox* CheckBox5 = nullptr;
  QLabel* Label1 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QFrame* Panel2 = nullptr;
  QRadioButton* RadioButton7 = nullptr;
  QRadioButton* RadioButton8 = nullptr;
  QRadioButton* RadioButton9 = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  QToolButton* SpeedButton2 = nullptr;
  QToolButton* SpeedButton3 = nullptr;
  QToolButton* SpeedButton5 = nullptr;
  QToolButton* SpeedButton6 = nullptr;
  QToolButton* SpeedButton8 = nullptr;
  QWidget* Image1 = nullptr;

  // Menus. The entries that need the other windows (the points editor, the
  // entry dialog, the launcher) are enabled once these exist, at the end of
  // the start-up.
  QMenu* Fichier1 = nullptr;
  QMenu* Dfinir1 = nullptr;
  // What the program computes beyond the picture: read-outs, asymptotes.
  QMenu* Analyse1 = nullptr;
  QAction* Mesures1 = nullptr;
  QAction* Rglersur23dB1 = nullptr;
  QAction* Asymptotes1 = nullptr;  // check item: the asymptotic diagram over the Bode curves
  // Check item: the closed-loop contours over the Black chart.
  QAction* AbaquedeBlackNichols1 = nullptr;
  QAction* LieuNyquist1 = nullptr;
  QAction* Lieudesples1 = nullptr;  // the closed-loop poles over the selected parameter
  QAction* N3 = nullptr;
  QAction* N1 = nullptr;
  QAction* N2 = nullptr;
  QAction* Pressepapier1 = nullptr;
  QAction* Imprimer1 = nullptr;
  QAction* SauverlimageEMF1 = nullptr;
  QAction* Mspaint1 = nullptr;
  QAction* ExporterlescourbesCSV1 = nullptr;  // the drawn curves' numbers
  QAction* Maple1 = nullptr;
  QAction* RponsetemporellecrationdunfichierMaple1 = nullptr;
  QAction* Rponsetemporelletrac1 = nullptr;
  QAction* Ouvrirditeurdepoints1 = nullptr;
  QAction* Quitter1 = nullptr;
  QAction* N6 = nullptr;
  QAction* N5 = nullptr;
  QAction* H31 = nullptr;
  QAction* GainK1 = nullptr;
  QAction* A1 = nullptr;
  QAction* B2 = nullptr;
  QAction* B1 = nullptr;
  QAction* W1 = nullptr;
  QAction* Ksi1 = nullptr;
  QAction* apropos = nullptr;

  // Handlers, named after their controls.
  void CheckBox1Click();
  void CheckBox2Click();
  void CheckBox3Click();
  void CheckBox4Click();
  void CheckBox5Click();
  void Asymptotes1Click();
  void AbaquedeBlackNichols1Click();
  void RadioButton7Click();
  void RadioButton8Click();
  void RadioButton9Click();
  void BitBtn1Click();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void SpeedButton5Click();
  void SpeedButton6Click();
  void SpeedButton8Click();
  void N3Click();
  void N1Click();
  void N2Click();
  void N6Click();
  void N5Click();
  void H31Click();
  void Quitter1Click();
  void AproposClick();
  void Ouvrirditeurdepoints1Click();
  void Pressepapier1Click();
  void Imprimer1Click();
  void SauverlimageEMF1Click();
  void Mspaint1Click();
  void ExporterlescourbesCSV1Click();
  void Maple1Click();
  void RponsetemporellecrationdunfichierMaple1Click();
  void Mesures1Click();
  void Rglersur23dB1Click();

  // The printer chosen before the print dialog opens (the page geometry comes
  // from it): the dialogs' printer, shared with the step response window.
  QPrinter& Printer() { return dialogs_.Printer(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The locus window, following the panel's selection.
  LocusWindow* MakeLocusWindow();
  void CreateMenus();
  void CreatePanel();
  void CreatePicture();
  void StartUp(const QStringList& arguments);
  void Resized(int clientWidth, int clientHeight);
  // One row of controls when the window is wide enough, else two.
  void ArrangePanel(int width);
  void SetModeWithoutMargins(std::uint8_t mode);
  void DefineFunction(int i);
  // The reason the file was refused (nothing changed then), empty once loaded.
  std::string LoadTransferFile(const std::string& path);
  void ReportRefusedFile(const std::string& path, const std::string& problem);
  QCheckBox* CurveBox(int box) const;
  PictureContext PictureCommands();
  // What is compared to tell whether the work changed since it was last loaded or saved.
  std::string WorkSnapshot() const;
  void MarkWorkSaved() { savedWork_ = WorkSnapshot(); }
  // True when the work on the screen may be replaced or closed: unchanged,
  // saved at the user's request (Oui), or given up (Non). False on Annuler
  // or when the save did not happen.
  bool MayDiscardWork();
  // Enregistrer; true once the file is written.
  bool SaveWork();

  tv::DiagramState& s_;
  Dialogs& dialogs_;
  std::unique_ptr<QtSurface> surface_;
  // The window's picture, and what its last frame derived (the cursor's
  // values, the point capture and the read-outs read them).
  tv::DrawTarget target_;
  tv::FrameResult frame_;
  tv::SweepMemo sweeps_;  // the picture's samples, for the next step
  ParameterControls* parameters_ = nullptr;
  TAboutBox* aboutBox_ = nullptr;
  TForm3* form3_ = nullptr;
  TForm2* form2_ = nullptr;
  // The windows that follow the picture (step response, read-outs, Nyquist,
  // closed-loop poles), registered with their menu entries.
  Followers followers_;
  std::unique_ptr<DesktopLauncher> launcher_;
  QScrollArea* imageArea_ = nullptr;
  QColor buttonFace_;
  int redrawCount_ = 0;
  bool startedUp_ = false;
  // The work as last loaded or saved: the transfer file's bytes and the boxes.
  std::string savedWork_;
  bool panelWrapped_ = false;
  bool fitted_ = false;
  // The transfer file last loaded or saved, where Enregistrer proposes to write.
  QString transferPath_;
};

}  // namespace tv::ui
