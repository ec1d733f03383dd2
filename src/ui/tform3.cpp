// The entry window of a transfer function: numerator over denominator, shown until both compile.
#include "ui/tform3.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <algorithm>
#include <optional>
#include <string>

#include "core/diagram_host.h"
#include "core/format.h"
#include "core/selection.h"
#include "expression/coefficients.h"
#include "render/redraw.h"
#include "ui/caption_fit.h"
#include "output/cp1252.h"
#include "output/fonts.h"

namespace tv::ui {

namespace {

bool IsParenthesis(QChar c) { return c == u'(' || c == u')'; }

// The part of `after` that an edit of `before` put in: what lies between the
// longest common beginning and the longest common end.
QStringView InsertedPart(const QString& before, const QString& after) {
  const qsizetype shorter = std::min(before.size(), after.size());
  qsizetype head = 0;
  while (head < shorter && before[head] == after[head]) ++head;
  qsizetype tail = 0;
  while (tail < shorter - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
    ++tail;
  return QStringView(after).mid(head, after.size() - head - tail);
}

// The stored form of a typed text: Windows-1252 bytes cut to 80, spaces removed.
// Nothing when a character has no Windows-1252 byte.
std::optional<std::string> StoredForm(const QString& typed) {
  // Every character with a Windows-1252 byte is one UTF-16 unit, so the cut
  // in characters is the cut in bytes.
  std::optional<std::string> bytes = ToCp1252(typed.left(kFunctionTextMax));
  if (!bytes) return std::nullopt;
  std::erase(*bytes, ' ');
  return bytes;
}

}  // namespace

FunctionTextValidator::FunctionTextValidator(QLineEdit* edit) : QValidator(edit) {
  connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { baseline_ = text; });
}

bool FunctionTextValidator::IsRefused(QChar c) { return IsParenthesis(c) || !IsCp1252Encodable(c); }

QValidator::State FunctionTextValidator::validate(QString& input, int&) const {
  for (QChar c : InsertedPart(baseline_, input))
    if (IsRefused(c)) return Invalid;
  return Acceptable;
}

TForm3::TForm3(tv::DiagramHost& host, QWidget* parent) : QDialog(parent), host_(host) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(tr("Entrez une fonction de transfert..."));
  setFont(WindowFont());
  setGeometry(151, 214, kClientWidth, kClientHeight);
  setAutoFillBackground(true);

  Label1 = new QLabel(tr("Entrez des fonctions du type:1+0.02*p+0.3*p^2+...  "
                         "(développées dans l'ordre croissant)"),
                      this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->move(8, 8);
  // Whole within the window, with the same margin on the right as on the left.
  FitCaptionToWidth(*Label1, kClientWidth - 16);
  Label1->adjustSize();

  Label2 = new QLabel(tr("Seules les variables K, T, A, B, W et Ksi  sont autorisées "), this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->move(8, 32);
  FitCaptionToWidth(*Label2, kClientWidth - 16);
  Label2->adjustSize();

  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setGeometry(80, 56, 321, 24);

  Label3 = new QLabel(QStringLiteral("H1= "), this);
  Label3->setObjectName(QStringLiteral("Label3"));
  Label3->setGeometry(16, 80, 48, 16);

  // The fraction bar between numerator and denominator.
  Shape1 = new QFrame(this);
  Shape1->setObjectName(QStringLiteral("Shape1"));
  Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
  Shape1->setLineWidth(1);
  Shape1->setGeometry(56, 89, 385, 2);

  Edit2 = new QLineEdit(this);
  Edit2->setObjectName(QStringLiteral("Edit2"));
  Edit2->setGeometry(80, 104, 321, 24);

  Button1 = new QPushButton(tr("Valider"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(464, 48, 75, 73);

  Reason = new QLabel(this);
  Reason->setObjectName(QStringLiteral("Reason"));
  Reason->setGeometry(8, 136, kClientWidth - 16, 48);
  Reason->setWordWrap(true);

  setTabOrder(Edit1, Edit2);
  setTabOrder(Edit2, Button1);

  validator1_ = new FunctionTextValidator(Edit1);
  validator2_ = new FunctionTextValidator(Edit2);
  for (QLineEdit* edit : {Edit1, Edit2}) {
    edit->setValidator(edit == Edit1 ? validator1_ : validator2_);
    edit->installEventFilter(this);
    // A paste or a character that cannot be held is refused with a beep.
    connect(edit, &QLineEdit::inputRejected, this, [this] { host_.Beep(); });
  }
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
  SetInvalidColour(false);
}

void TForm3::SetEditText(QLineEdit* edit, const QString& text) {
  if (edit == Edit1) validator1_->SetBaseline(text);
  if (edit == Edit2) validator2_->SetBaseline(text);
  edit->setText(text);
}

void TForm3::SetInvalidColour(bool invalid) {
  QPalette p = palette();
  p.setColor(QPalette::Window,
             invalid ? QColor(255, 0, 0) : QApplication::palette().color(QPalette::Button));
  setPalette(p);
}

void TForm3::SetReason(const QString& reason) { Reason->setText(reason); }

QColor TForm3::BackgroundColour() const { return palette().color(QPalette::Window); }

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == Edit1 || watched == Edit2) && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      accept();
      return true;
    }
    const QString typed = key->text();
    if (std::any_of(typed.cbegin(), typed.cend(), IsParenthesis)) {
      HostDialogs(host_).Message(this, tr("La fonction doit être développée"),
                                 QStringLiteral("Tracevue"), MessageIcon::Exclamation);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TForm3::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) Edit1->setFocus();
  QDialog::changeEvent(event);
}

void DefineTransferFunction(int i, tv::DiagramState& s, const tv::DrawTarget& t, tv::FrameResult& f,
                            TForm3& form) {
  if (i < 1 || i > 3) return;
  const int k = i - 1;
  form.SetInvalidColour(false);
  form.SetReason({});
  bool ok = false;
  do {
    form.SetEditText(form.Edit1, FromCp1252(s.NumText[k].View()));
    form.SetEditText(form.Edit2, FromCp1252(s.DenText[k].View()));
    form.Label3->setText(QStringLiteral("H") + QString::fromStdString(IntegerText(i)) +
                         QStringLiteral("= "));
    HostDialogs(s).ShowModal(form);

    // The edits refuse what has no Windows-1252 byte; a text that still holds
    // such a character is not stored and counts as invalid.
    const std::optional<std::string> num = StoredForm(form.Edit1->text());
    const std::optional<std::string> den = StoredForm(form.Edit2->text());
    if (num) s.NumText[k].Assign(*num);
    if (den) s.DenText[k].Assign(*den);

    ok = num && den && s.NumText[k].Length > 0 && s.DenText[k].Length > 0 &&
         ExtractPolynomial(s.NumText[k].View(), s, s.NumCoeffs[k]) &&
         ExtractPolynomial(s.DenText[k].View(), s, s.DenCoeffs[k]);
    // A text longer than a function text holds is shown again cut, and refused
    // once so that the user sees what was dropped.
    const bool cut = form.Edit1->text().size() > kFunctionTextMax ||
                     form.Edit2->text().size() > kFunctionTextMax;
    if (cut) ok = false;
    if (!ok) {
      AlarmBeep(s.Host);
      form.SetInvalidColour(true);
      QString reason;
      if (cut) {
        reason = TForm3::tr("Texte de plus de 80 caractères : il a été coupé, vérifiez sa fin.");
      } else {
        const ParameterValues params = ParametersOf(s);
        std::string why = RefusalReason(s.NumText[k].View(), params);
        if (why.empty()) why = RefusalReason(s.DenText[k].View(), params);
        reason = QString::fromStdString(why);
        // A sentence of its own under the texts.
        if (!reason.isEmpty()) reason[0] = reason[0].toUpper();
      }
      form.SetReason(reason);
    }
  } while (!ok);
  SetCurveTicked(s, i, true);
  if (s.Host) s.Host->RefreshParameterAvailability();
  RedrawDiagram(s, t, f);
}

}  // namespace tv::ui
