// provix2's scripted session.
#include "sample/provix2/scripted_session.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QTimer>
#include <QtGui/QCursor>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QWidget>
#include <cstdio>
#include <filesystem>
#include <string>

#include "frame/automation/convert.h"
#include "frame/ui/combo_box.h"
#include "frame/ui/desktop.h"
#include "frame/ui/label.h"
#include "frame/ui/message_box.h"
#include "frame/ui/text_box.h"
#include "sample/provix2/program.h"

namespace provix2 {

namespace {

class Session {
 public:
  Session(ze::qt::QtBackend& backend, Form1& form, std::string screens, std::ostream& out)
      : backend_(backend), form_(form), screens_(std::move(screens)), out_(out) {}

  int Run();

 private:
  QWidget* FieldWidget(ze::host::HostedControl& control) {
    backend_.Sync();
    return backend_.WidgetOf(*control.Widget().FindChild(u"Text1"));
  }
  std::string Field(ze::host::HostedControl& control) {
    return ze::ToUtf8(ze::CStr(control.Get(u"Text")));
  }
  // A left click on a widget (its middle, or x pixels from its left edge), as the
  // window system delivers it.
  void Click(QWidget* widget, double x = -1) {
    if (!widget) return Fail("nothing to click");
    const QPointF centre(x >= 0 ? x : widget->width() / 2.0, widget->height() / 2.0);
    const QPointF global = widget->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
    QCoreApplication::processEvents();
  }
  // Keys to the widget that has the focus in the model.
  void Key(int key, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    backend_.Sync();
    ze::ui::Form* active = ze::ui::Desktop::Active();
    ze::ui::Control* focus = active ? active->ActiveControl() : nullptr;
    QWidget* target = focus ? backend_.WidgetOf(*focus) : nullptr;
    if (!target) return Fail("no field has the focus");
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(target, &release);
    QCoreApplication::processEvents();
  }
  void Type(const std::string& digits) {
    for (char c : digits) Key(Qt::Key_0 + (c - '0'), QString(QChar(c)));
  }
  void Step(const std::string& what) { out_ << "\n" << ++step_ << ". " << what << "\n"; }
  void Show(const std::string& what) { out_ << "   " << what << "\n"; }
  void Expect(bool ok, const std::string& what) {
    Show(std::string(ok ? "ok: " : "NON RIUSCITO: ") + what);
    if (!ok) failures_++;
  }
  void Fail(const std::string& why) { Expect(false, why); }
  // What the field shows on the screen, which for the empty date is its empty mask
  // rather than the "" its Text property gives.
  std::string Shown(ze::host::HostedControl& control) {
    const auto* box = dynamic_cast<const ze::ui::TextBox*>(control.Widget().FindChild(u"Text1"));
    return box ? ze::ToUtf8(box->Text()) : Field(control);
  }
  void Fields() {
    Show("Data Iniziale: " + Shown(form_.Kalendo1()) +
         "   Data finale: " + Shown(form_.Kalendo2()));
  }
  // The newest open form of the library with that class name (the calendar, the about
  // box): the program knows them only as forms.
  static ze::ui::Form* LibraryForm(std::u16string_view name) {
    ze::ui::Form* newest = nullptr;
    for (ze::ui::Form* f : ze::ui::Desktop::OpenForms())
      if (f->TypeName() == name && (!newest || f->LoadSerial() > newest->LoadSerial())) newest = f;
    return newest;
  }
  QWidget* WidgetIn(ze::ui::Form& form, std::u16string_view name, int index = -1) {
    backend_.Sync();
    ze::ui::Control* c = form.FindChild(name, index);
    return c ? backend_.WidgetOf(*c) : nullptr;
  }
  void CalendarSteps();
  void AboutBoxStep();

  void Screenshot(const std::string& name, ze::ui::Form* of = nullptr) {
    if (screens_.empty()) return;
    backend_.Sync();
    const std::string path = screens_ + "/" + name + ".png";
    if (backend_.SaveFormPng(of ? *of : form_, QString::fromStdString(path))) {
      Show("schermata: " + path);
    } else {
      Fail("schermata non salvata: " + path);
    }
  }

  ze::qt::QtBackend& backend_;
  Form1& form_;
  std::string screens_;
  std::ostream& out_;
  std::vector<std::string> messages_;
  int step_ = 0;
  int failures_ = 0;
};

int Session::Run() {
  // Message boxes are answered at once, as a user pressing OK, and printed.
  ze::ui::SetMessageBoxSink([this](const ze::ui::MessageBoxRequest& box) {
    messages_.push_back(ze::ToUtf8(box.prompt));
    Show("finestra di messaggio \"" + ze::ToUtf8(box.title) + "\": " + ze::ToUtf8(box.prompt));
    return ze::ui::msgbox::kOk;
  });
  if (!screens_.empty()) std::filesystem::create_directories(screens_);
  const std::string database = std::filesystem::current_path() / "provix2.db";

  Step("provix2 si apre sul primo record di " + database);
  Expect(form_.Data1().IsOpen(), "il database è aperto");
  Fields();
  Screenshot("01-avvio");

  Step("clic all'inizio del campo Data Iniziale e digitazione di 15082011");
  Click(FieldWidget(form_.Kalendo1()), 2);
  Type("15082011");
  Fields();
  Expect(Field(form_.Kalendo1()) == "15/08/2011", "il campo mostra 15/08/2011");
  Screenshot("02-data-digitata");

  Step("Invio: il cursore passa al campo Data finale");
  Key(Qt::Key_Return, "\r");
  Expect(form_.Kalendo2().Widget().FindChild(u"Text1")->HasFocus(), "Data finale ha il focus");

  Step("una data impossibile (31/02/2011) e Tab");
  Type("31022011");
  Fields();
  messages_.clear();
  Key(Qt::Key_Tab, "\t");
  Expect(messages_ == std::vector<std::string>{"data non valida"},
         "un solo messaggio \"data non valida\"");
  Expect(Field(form_.Kalendo2()).empty(), "il campo Data finale è stato svuotato");
  Fields();
  Screenshot("03-data-non-valida");

  Step("clic sul pulsante MsgBox");
  messages_.clear();
  Click(backend_.WidgetOf(form_.Command1()));
  Expect(messages_.size() == 1 && messages_[0] == "data iniziale: 15/08/2011 data finale: ",
         "il messaggio riporta le due date");

  Step("record successivo e ritorno: la modifica viene salvata nel database");
  messages_.clear();
  Click(backend_.WidgetOf(form_.Data1().cmdNext));
  Fields();
  Screenshot("04-record-successivo");
  Click(backend_.WidgetOf(form_.Data1().cmdPrevious));
  Fields();
  // The field shows the typed date whether or not the save went through (a failed save
  // keeps the edit on screen): only the file itself and the absence of a complaint say
  // that it was saved.
  const std::vector<std::string> rows = DatabaseRows(database, "Data");
  Expect(Field(form_.Kalendo1()) == "15/08/2011" && messages_.empty() && !rows.empty() &&
             rows.front().find("2011-08-15") != std::string::npos,
         "il primo record ha la nuova data");

  CalendarSteps();
  AboutBoxStep();

  Step("chiusura del modulo");
  messages_.clear();
  form_.Unload();
  if (!messages_.empty()) Fail("il modulo si è chiuso con modifiche non salvate");
  out_ << "\nrighe della tabella Data (ID | DataIniziale | DataFinale):\n";
  for (const std::string& row : DatabaseRows(database, "Data")) out_ << "   " << row << "\n";
  ze::ui::SetMessageBoxSink(nullptr);
  out_ << "\n" << (failures_ == 0 ? "sessione completata" : "sessione con errori") << "\n";
  return failures_ == 0 ? 0 : 1;
}

void Session::CalendarSteps() {
  ze::host::HostedControl& field = form_.Kalendo2();
  Step("record successivo; PopSelezione attivato da programma per il campo Data finale");
  Click(backend_.WidgetOf(form_.Data1().cmdNext));
  field.Let(u"PopSelezione", ze::Variant(true));
  backend_.Sync();
  QWidget* button = backend_.WidgetOf(*field.Widget().FindChild(u"cmdpop"));
  Expect(button && button->isVisible(), "il pulsante del calendario compare accanto al campo");
  Fields();

  Step("clic sul pulsante: si apre il calendario");
  if (!button) return;
  QCursor::setPos(button->mapToGlobal(button->rect().center()));
  Click(button);
  ze::ui::Form* calendar = LibraryForm(u"FrmInputData");
  Expect(calendar && calendar->IsActive(), "il calendario è aperto e attivo");
  if (!calendar) return;
  auto* month = dynamic_cast<ze::ui::ComboBox*>(calendar->FindChild(u"cboMese"));
  auto* year = calendar->FindChild(u"txtAnno");
  auto* yearText = year ? dynamic_cast<ze::ui::TextBox*>(year->FindChild(u"txtnumero")) : nullptr;
  if (!month || !yearText) return Fail("il calendario non ha il mese e l'anno");
  auto shown = [&] { return ze::ToUtf8(month->Text()) + " " + ze::ToUtf8(yearText->Text()); };
  Show("mese mostrato: " + shown());
  Screenshot("05-calendario", calendar);

  Step("clic su >>: il mese successivo");
  const int before = month->ListIndex();
  Click(WidgetIn(*calendar, u"cmdSuccessivo"));
  Expect(month->ListIndex() == (before + 1) % 12, "il calendario mostra " + shown());

  Step("clic sul giorno della terza riga, prima colonna");
  auto* cell = dynamic_cast<ze::ui::Label*>(calendar->FindChild(u"lblGio", 15));
  if (!cell) return Fail("nessuna cella 15");
  char expected[16];
  std::snprintf(expected, sizeof expected, "%02d/%02d/%s", std::stoi(ze::ToUtf8(cell->Caption())),
                month->ListIndex() + 1, ze::ToUtf8(yearText->Text()).c_str());
  Click(WidgetIn(*calendar, u"lblGio", 15));
  Expect(LibraryForm(u"FrmInputData") == nullptr, "il calendario si è chiuso");
  Fields();
  Expect(Field(field) == expected, std::string("il campo Data finale mostra ") + expected);
  Screenshot("06-data-dal-calendario");
}

void Session::AboutBoxStep() {
  Step("AboutBox: la finestra delle informazioni, chiusa con OK");
  bool seen = false;
  // The box is modal: its steps run from inside its own loop.
  QTimer::singleShot(0, [this, &seen] {
    ze::ui::Form* box = LibraryForm(u"FrmInfo");
    if (!box) return;
    seen = true;
    Screenshot("07-informazioni", box);
    Click(WidgetIn(*box, u"Command1"));
  });
  form_.Kalendo1().Call(u"AboutBox");
  Expect(seen && LibraryForm(u"FrmInfo") == nullptr, "la finestra si è aperta e chiusa");
}

}  // namespace

void PrintMessageBoxes(std::ostream& out) {
  ze::ui::SetMessageBoxSink([&out](const ze::ui::MessageBoxRequest& box) {
    out << "finestra di messaggio \"" << ze::ToUtf8(box.title) << "\": " << ze::ToUtf8(box.prompt)
        << std::endl;
    return ze::ui::msgbox::kOk;
  });
}

int RunScriptedSession(ze::qt::QtBackend& backend, Form1& form, const std::string& screens,
                       std::ostream& out) {
  return Session(backend, form, screens, out).Run();
}

}  // namespace provix2
