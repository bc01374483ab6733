// zeprova's paths reach into any form of a library with nothing written for that
// form: a form by its type name, a control by name, a control inside a user control
// inside the form, an element of a control array by index. The form here is shaped
// like the library's calendar form (a numeric field holding its own text box, a
// label array of days), and the test host knows nothing of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "frame/ui/control_array.h"
#include "frame/ui/form.h"
#include "frame/ui/label.h"
#include "frame/ui/text_box.h"
#include "frame/ui/user_control.h"
#include "tools/zeprova/prova_host.h"

namespace zeprova {
namespace {

class Campo : public ze::ui::UserControl {
 public:
  ze::String TypeName() const override { return u"Campo"; }
  ze::ui::TextBox& txtnumero = AddChild<ze::ui::TextBox>(u"txtnumero");
};

class FrmPercorsi : public ze::ui::Form {
 public:
  FrmPercorsi() {
    txtAnno.txtnumero.SetText(u"2005");
    for (int i = 1; i <= 31; ++i) {
      lblGio.Load(i);
      lblGio[i].SetCaption(ze::String(ze::FromUtf8(std::to_string(i))));
    }
  }
  ze::String TypeName() const override { return u"FrmPercorsi"; }
  Campo& txtAnno = AddChild<Campo>(u"txtAnno");
  ze::ui::ControlArray<ze::ui::Label> lblGio{*this, u"lblGio"};
};

std::string RunScript(const std::vector<ze::String>& lines) {
  std::ostringstream out, err;
  ProvaHost host(out, err);
  auto form = ze::ui::NewForm<FrmPercorsi>();
  form->Show();
  host.Run(lines);
  form->Unload();
  return out.str() + err.str();
}

TEST(ZeprovaPaths, ReachInnerControlsAndArrayElementsOfAnyForm) {
  const std::string out =
      RunScript({u"inspect FrmPercorsi.txtAnno.txtnumero", u"inspect FrmPercorsi.lblGio(15)",
                 u"focus FrmPercorsi.txtAnno.txtnumero",
                 u"type \"1\"",  // at the caret, which focus leaves at 0
                 u"inspect FrmPercorsi.txtAnno.txtnumero"});
  EXPECT_NE(out.find("FrmPercorsi.txtAnno.txtnumero text=\"2005\""), std::string::npos) << out;
  EXPECT_NE(out.find("FrmPercorsi.lblGio(15) caption=\"15\""), std::string::npos) << out;
  EXPECT_NE(out.find("FrmPercorsi.txtAnno.txtnumero text=\"12005\" sel=1,0"), std::string::npos)
      << out;
}

TEST(ZeprovaPaths, AMissingStepIsAnErrorNotACrash) {
  const std::string out =
      RunScript({u"inspect FrmPercorsi.lblGio(32)", u"inspect FrmPercorsi.txtAnno.nessuno",
                 u"inspect FrmNessuna.txtAnno", u"inspect FrmPercorsi.lblGio(0).txtnumero"});
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 4) << out;
  EXPECT_EQ(out.find("caption="), std::string::npos) << out;
}

}  // namespace
}  // namespace zeprova
