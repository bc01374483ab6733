// provix2_user: one person at provix2's form, scripted through stdin, so that a test can
// put two of them, in two processes, on the same record.
//
//   provix2_user FOLDER DATABASE     the form (headless) over DATABASE (a SQLite file or
//                                    a "postgresql://" URI); FOLDER is the program's
//
// Commands, one a line; each answer ends with a line "fatto":
//   type N DIGITS     focus date field N (1 or 2) and type the digits
//   save              save the record as moving away would ("salvato" / "non salvato")
//   next, previous    the data control's buttons
//   answer yes|no|cancel   the button pressed on the message boxes from now on
//   fields            "campi A | B", the two date fields' texts
//   quit              close the form
// Every message box is printed as "messaggio: " and its first line.
#include <iostream>
#include <string>

#include "frame/automation/locale.h"
#include "frame/com/activation.h"
#include "frame/com/server_exports.h"
#include "frame/system/dynamic_library.h"
#include "frame/ui/desktop.h"
#include "frame/ui/headless_backend.h"
#include "frame/ui/input.h"
#include "frame/ui/message_box.h"
#include "frame/ui/text_box.h"
#include "sample/provix2/form1.h"

namespace {

namespace input = ze::ui::input;

ze::ui::TextBox& FieldOf(ze::host::HostedControl& control) {
  return dynamic_cast<ze::ui::TextBox&>(*control.Widget().FindChild(u"Text1"));
}

int Run(const std::string& folder, const std::string& database) {
  ze::Locale::SetCurrent("it_IT");
  ze::ui::SetApplicationTitle(u"provix2");
  auto library = ze::system::DynamicLibrary::Open(ZE_KALENDO_LIBRARY);
  if (!library.is_loaded()) return 1;
  auto reg = library.Function<ze::com::DllRegisterServerFn>("DllRegisterServer");
  if (reg == nullptr || reg() != ze::com::S_OK) return 1;

  ze::ui::HeadlessBackend backend;
  backend.Install();
  int answer = ze::ui::msgbox::kCancel;
  ze::ui::SetMessageBoxSink([&answer](const ze::ui::MessageBoxRequest& box) {
    const std::string prompt = ze::ToUtf8(box.prompt);
    std::cout << "messaggio: " << prompt.substr(0, prompt.find('\n')) << "\n";
    return answer;
  });
  int rc = 0;
  {
    auto form = provix2::Form1::FromDescriptionFile(ZE_FORM1_DESCRIPTION, folder);
    form->Data1().SetDatabaseName(database);
    form->Show();
    std::cout << "fatto" << std::endl;
    std::string command;
    while (std::cin >> command) {
      if (command == "type") {
        int n = 0;
        std::string digits;
        std::cin >> n >> digits;
        auto& field = FieldOf(n == 1 ? form->Kalendo1() : form->Kalendo2());
        input::Focus(field);
        input::Type(ze::FromUtf8(digits));
      } else if (command == "save") {
        std::cout << (form->Data1().UpdateRecord() ? "salvato" : "non salvato") << "\n";
      } else if (command == "next") {
        form->Data1().MoveNext();
      } else if (command == "previous") {
        form->Data1().MovePrevious();
      } else if (command == "answer") {
        std::string button;
        std::cin >> button;
        answer = button == "yes"  ? ze::ui::msgbox::kYes
                 : button == "no" ? ze::ui::msgbox::kNo
                                  : ze::ui::msgbox::kCancel;
      } else if (command == "fields") {
        std::cout << "campi " << ze::ToUtf8(FieldOf(form->Kalendo1()).Text()) << " | "
                  << ze::ToUtf8(FieldOf(form->Kalendo2()).Text()) << "\n";
      } else if (command == "quit") {
        answer = ze::ui::msgbox::kOk;
        form->Unload();
        std::cout << "fatto" << std::endl;
        break;
      } else {
        std::cout << "comando sconosciuto: " << command << "\n";
        rc = 2;
      }
      std::cout << "fatto" << std::endl;
    }
  }
  ze::ui::Desktop::UnloadAll();
  ze::com::CoFreeUnusedLibraries();
  ze::ui::SetMessageBoxSink(nullptr);
  backend.Uninstall();
  return rc;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: provix2_user FOLDER DATABASE\n";
    return 2;
  }
  return Run(argv[1], argv[2]);
}
