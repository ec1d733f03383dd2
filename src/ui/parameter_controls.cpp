// Selecting, stepping and typing the six parameters K, A, T, B, W and Ksi.
#include "ui/parameter_controls.h"

#include <QAction>
#include <QButtonGroup>
#include <QFont>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

#include "core/diagram_host.h"
#include "core/format.h"
#include "core/parameter_entry.h"
#include "core/parameters.h"

namespace tv::ui {

namespace {

// Where RadioButton1..6 stand; row r is the parameter kControlOrder[r].
struct RowPlace {
  int Left, Top;
};
constexpr RowPlace kRows[6] = {{88, 8}, {88, 40}, {88, 24}, {192, 8}, {192, 24}, {192, 40}};

const ParameterInfo& RowParameter(int row) {
  return Info(kControlOrder[static_cast<std::size_t>(row)]);
}
QString RowName(int row) {
  const std::string_view name = RowParameter(row).Name;
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}
int RowOf(Parameter p) {
  int row = 0;
  while (kControlOrder[static_cast<std::size_t>(row)] != p) ++row;
  return row;
}

// The first column ends where the second begins; the second where Label13 begins.
constexpr int kRadioWidth[2] = {104, 96};
constexpr int kRadioHeight = 17;

struct SpinRow {
  int Left;
  double Step;
  int LabelLeft;
  const char* LabelText;
};

constexpr int kSpinTop = 24;
constexpr int kStepLabelTop = 8;
constexpr SpinRow kSpins[5] = {
    {432, 10, 424, "10"},     {456, 1, 456, "1"},         {480, 0.1, 472, "0.1"},
    {504, 0.01, 496, "0.01"}, {528, 0.001, 528, "0.001"},
};

}  // namespace

ParameterControls::ParameterControls(QWidget* panel, tv::DiagramState& s)
    : QObject(panel), panel_(panel), s_(s) {
  group_ = new QButtonGroup(this);
  group_->setExclusive(true);
  for (int row = 0; row < 6; ++row) {
    auto* button = new QRadioButton(RowName(row) + QStringLiteral("="), panel);
    button->setObjectName(QStringLiteral("RadioButton%1").arg(row + 1));
    button->setGeometry(kRows[row].Left, kRows[row].Top, kRadioWidth[kRows[row].Left == 88 ? 0 : 1],
                        kRadioHeight);
    group_->addButton(button, row + 1);
    // toggled, not clicked: checking a button from program code runs its handler too.
    connect(button, &QRadioButton::toggled, this, [this, row](bool checked) {
      if (checked) RadioButtonClick(row);
    });
    radio_[row] = button;
  }

  label13_ = new QLabel(tr("Variation de"), panel);
  label13_->setObjectName(QStringLiteral("Label13"));
  label13_->move(288, 16);
  label13_->adjustSize();

  label12_ = new QLabel(panel);
  label12_->setObjectName(QStringLiteral("Label12"));
  QFont big = label12_->font();
  // 24 px in the narrower face this panel was laid out for; 18 px of ours
  // keeps "Ksi" clear of the first step value.
  big.setPixelSize(18);
  big.setBold(false);
  label12_->setFont(big);
  label12_->move(392, 8);
  label12_->resize(label12_->fontMetrics().horizontalAdvance(QStringLiteral("Ksi")) + 4,
                   label12_->fontMetrics().height());

  for (int k = 0; k < 5; ++k) {
    auto* label = new QLabel(QString::fromLatin1(kSpins[k].LabelText), panel);
    label->setObjectName(QStringLiteral("Label%1").arg(7 + k));
    // The window's 13 px bold face is wider than the one these positions were
    // laid out for: at 10 px the five step values stay apart.
    QFont stepFont = label->font();
    stepFont.setPixelSize(10);
    label->setFont(stepFont);
    label->move(kSpins[k].LabelLeft, kStepLabelTop);
    label->adjustSize();
    stepLabels_[k] = label;

    auto* spin = new SpinButton(panel);
    spin->setObjectName(QStringLiteral("SpinButton%1").arg(k + 1));
    spin->move(kSpins[k].Left, kSpinTop);
    const double step = kSpins[k].Step;
    connect(spin, &SpinButton::upClicked, this, [this, step] { StepSelectedParameter(step); });
    connect(spin, &SpinButton::downClicked, this, [this, step] { StepSelectedParameter(-step); });
    spins_[k] = spin;
  }
  // The buttons mirror the document's selection, whatever made it.
  if (s_.SelectedParameter) radio_[RowOf(*s_.SelectedParameter)]->setChecked(true);
}

void ParameterControls::AttachMenuEntries(QAction* gainK1, QAction* a1, QAction* b2, QAction* b1,
                                          QAction* w1, QAction* ksi1) {
  // Rows are in radio-button order: K, A, T, B, W, Ksi.
  const std::array<QAction*, 6> actions = {gainK1, a1, b1, b2, w1, ksi1};
  for (int row = 0; row < 6; ++row) {
    if (entries_[row]) disconnect(entries_[row], nullptr, this, nullptr);
    entries_[row] = actions[row];
    if (!actions[row]) continue;
    actions[row]->setEnabled(IsEnabledOnPanel(row));
    connect(actions[row], &QAction::triggered, this,
            [this, row] { EnterParameterValue(RowName(row), Value(row)); });
  }
}

double& ParameterControls::Value(int row) { return s_.*RowParameter(row).Field; }

bool ParameterControls::IsEnabledOnPanel(int row) const {
  // The button's own state, whatever the state of the panel around it.
  return radio_[row]->isEnabledTo(panel_);
}

void ParameterControls::RadioButtonClick(int row) {
  s_.SelectedParameter = kControlOrder[static_cast<std::size_t>(row)];
  label12_->setText(RowName(row));
}

void ParameterControls::RefreshParameterCaptions() {
  for (Parameter p : kCaptionOrder) {
    const int row = RowOf(p);
    radio_[row]->setText(RowName(row) + QStringLiteral(" = ") +
                         QString::fromStdString(FormatReal(Value(row))));
  }
}

void ParameterControls::RefreshParameterAvailability() {
  for (int row = 0; row < 6; ++row) {
    radio_[row]->setEnabled(IsParameterUsed(s_, RowParameter(row).ExpressionName));
    if (entries_[row]) entries_[row]->setEnabled(IsEnabledOnPanel(row));
  }
}

int ParameterControls::RowToStep() const {
  std::array<bool, 6> checked{};
  std::array<bool, 6> enabled{};
  for (int row = 0; row < 6; ++row) {
    checked[row] = s_.SelectedParameter == kControlOrder[static_cast<std::size_t>(row)];
    enabled[row] = IsEnabledOnPanel(row);
  }
  return ParameterToStep(checked, enabled);
}

void ParameterControls::StepSelectedParameter(double delta) {
  const int row = RowToStep();
  if (row >= 0) StepParameter(Value(row), delta);
  RefreshParameterCaptions();
  if (s_.Host) s_.Host->Redraw();
}

void ParameterControls::EnterParameterValue(const QString& name, double& parameter) {
  const QString prompt = tr("Entrez la nouvelle valeur de ") + name + QStringLiteral(" :");
  for (;;) {
    const QString defaultText = QString::fromStdString(FormatReal(parameter));
    const QString answer =
        HostDialogs(s_).InputText(panel_->window(), QStringLiteral("Gain"), prompt, defaultText);
    const QString kept = answer.left(kParameterEntryMax);
    // Anything outside ASCII is no part of a number; UTF-8 keeps it from looking like one.
    const QByteArray bytes = kept.toUtf8();
    const TypedValue typed =
        ConvertTypedValue(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    parameter = typed.Value;
    if (typed.WholeTextConverted && parameter >= 0.0) break;
  }
  RefreshParameterCaptions();
  if (s_.Host) s_.Host->Redraw();
}

std::optional<Parameter> ParameterControls::SelectedParameter() const {
  const int row = RowToStep();
  if (row < 0) return std::nullopt;
  return kControlOrder[static_cast<std::size_t>(row)];
}

void ParameterControls::SetParameterValue(Parameter p, double value) {
  ParameterValue(s_, p) = value;
  RefreshParameterCaptions();
  if (s_.Host) s_.Host->Redraw();
}

QRadioButton* ParameterControls::RadioButton(int n) {
  return n >= 1 && n <= 6 ? radio_[n - 1] : nullptr;
}

SpinButton* ParameterControls::Spin(int n) { return n >= 1 && n <= 5 ? spins_[n - 1] : nullptr; }

QLabel* ParameterControls::Label(int n) {
  if (n >= 7 && n <= 11) return stepLabels_[n - 7];
  if (n == 12) return label12_;
  if (n == 13) return label13_;
  return nullptr;
}

QAction* ParameterControls::MenuEntry(int n) {
  return n >= 1 && n <= 6 ? entries_[n - 1] : nullptr;
}

}  // namespace tv::ui
