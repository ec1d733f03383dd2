// Dialogs answered from a script, for tests: nothing modal is ever shown.
#pragma once

#include <QPrinter>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>

#include "core/headless_host.h"
#include "ui/dialogs.h"

namespace tv::ui {

class ScriptedDialogs : public Dialogs {
 public:
  struct Shown {
    QString kind;  // "message", "yesno", "yesnocancel", "input", "open", "save", "print", "modal"
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
    QString extra;  // input: default text; save: preset name; open/save: filter
  };

  // Answers, consumed in order. A question with no answer left fails the test
  // loudly rather than blocking.
  std::deque<bool> YesNoAnswers;
  std::deque<Answer> YesNoCancelAnswers;
  std::deque<QString> InputAnswers;  // a null QString means Cancel
  std::deque<QString> FileAnswers;   // an empty QString means Cancel
  std::deque<bool> PrintAnswers;
  // Runs in place of the modal loop of a window (edit its fields, then return).
  std::deque<std::function<void(QDialog&)>> ModalScripts;

  std::vector<Shown> Log;
  int Beeps = 0;

  void Message(QWidget*, const QString& text, const QString& caption, MessageIcon icon) override {
    Log.push_back({"message", text, caption, icon, {}});
  }
  bool YesNo(QWidget*, const QString& text, const QString& caption, MessageIcon icon) override {
    Log.push_back({"yesno", text, caption, icon, {}});
    return Take(YesNoAnswers, "yes/no");
  }
  Answer YesNoCancel(QWidget*, const QString& text, const QString& caption,
                     MessageIcon icon) override {
    Log.push_back({"yesnocancel", text, caption, icon, {}});
    return Take(YesNoCancelAnswers, "yes/no/cancel");
  }
  QString InputText(QWidget*, const QString& caption, const QString& prompt,
                    const QString& defaultText) override {
    Log.push_back({"input", prompt, caption, MessageIcon::None, defaultText});
    QString answer = Take(InputAnswers, "input");
    return answer.isNull() ? defaultText : answer;
  }
  QString OpenFileName(QWidget*, const QString& filter, const QString&) override {
    Log.push_back({"open", {}, {}, MessageIcon::None, filter});
    return Take(FileAnswers, "open file");
  }
  QString SaveFileName(QWidget*, const QString& filter, const QString&,
                       const QString& presetName) override {
    Log.push_back({"save", presetName, {}, MessageIcon::None, filter});
    return Take(FileAnswers, "save file");
  }
  bool Print(QWidget*, QPrinter&) override {
    Log.push_back({"print", {}, {}, MessageIcon::None, {}});
    return Take(PrintAnswers, "print");
  }
  void ShowModal(QDialog& dialog) override {
    Log.push_back({"modal", {}, {}, MessageIcon::None, {}});
    auto script = Take(ModalScripts, "modal window");
    script(dialog);
  }
  QPrinter& Printer() override {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
  }
  void Beep() override { ++Beeps; }

  int Count(const QString& kind) const {
    int n = 0;
    for (const auto& s : Log) n += s.kind == kind;
    return n;
  }

 private:
  template <typename T>
  static T Take(std::deque<T>& answers, const char* what) {
    if (answers.empty())
      throw std::logic_error(std::string("no scripted answer left for a ") + what + " question");
    T v = std::move(answers.front());
    answers.pop_front();
    return v;
  }

  std::unique_ptr<QPrinter> printer_;
};

// A window-less host whose windows ask through scripted dialogs; their beeps
// count in BeepCount.
struct ScriptedHost : tv::HeadlessHost {
  explicit ScriptedHost(Dialogs& dialogs) { AskedDialogs = &dialogs; }
};

}  // namespace tv::ui
