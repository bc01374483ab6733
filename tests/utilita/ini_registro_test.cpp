// zeUtilita's INI routines: what LeggiINI makes of the profile reader's answer, and
// ScriviINI's result, called directly and by dispatch.
#include <gtest/gtest.h>

#include "frame/com/com_ptr.h"
#include "frame/com/dispatch_client.h"
#include "tests/registry/temp_dir.h"
#include "utilita/utilita_object.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {
namespace {

using namespace ze::com;
using ze::String;
using ze::Variant;

String Windows(const std::string& native) {
  String path = u"C:" + ze::FromUtf8(native);
  for (char16_t& c : path)
    if (c == u'/') c = u'\\';
  return path;
}

class LeggiIniTest : public ::testing::Test {
 protected:
  String Leggi(std::u16string_view sezione, std::u16string_view chiave,
               std::u16string_view predefinito = u" dflt ") {
    String s(sezione), k(chiave), d(predefinito);
    return utilita_.LeggiINI(file_, s, k, d);
  }

  ze::testing::TempDir dir_;
  String file_ = Windows(dir_.Write(
      "prog.ini", "[Dati]\r\nPercorso =  C:\\dati  \r\nVuota=\r\nBianca=   \r\nTab=\tx\t\r\n"
                  "Citata=\" \"\r\nLunga=" + std::string(2500, 'x') + "\r\n"));
  zeUtilita utilita_;
};

TEST_F(LeggiIniTest, GivesTheTrimmedValueOrTheDefaultAsWritten) {
  EXPECT_EQ(Leggi(u"dati", u"percorso"), u"C:\\dati");
  // A missing section or key brings the default through the reader's copy, trimmed
  // like any value; an empty value gives the default untouched, blanks and all.
  EXPECT_EQ(Leggi(u"Altro", u"Percorso"), u"dflt");
  EXPECT_EQ(Leggi(u"Dati", u"Manca"), u"dflt");
  EXPECT_EQ(Leggi(u"Dati", u"Vuota"), u" dflt ");
  EXPECT_EQ(Leggi(u"Dati", u"Bianca"), u" dflt ");
  // A quoted blank is blank once the quotes are gone.
  EXPECT_EQ(Leggi(u"Dati", u"Citata"), u" dflt ");
  EXPECT_EQ(Leggi(u"Dati", u"Tab"), u"x");
  EXPECT_EQ(Leggi(u"Dati", u"Lunga"), String(1999, u'x'));
  String none = Windows(dir_.File("none.ini")), s = u"Dati", k = u"Percorso", d = u"";
  EXPECT_EQ(utilita_.LeggiINI(none, s, k, d), u"");
}

TEST_F(LeggiIniTest, ScriviIniReportsTheWriteAndKeepsTheRest) {
  String s = u"Nuova", k = u"Chiave", v = u"valore";
  EXPECT_TRUE(utilita_.ScriviINI(file_, s, k, v));
  EXPECT_EQ(Leggi(u"nuova", u"chiave"), u"valore");
  EXPECT_EQ(Leggi(u"Dati", u"Percorso"), u"C:\\dati");
  String bad = u"a\r\nAltra=1";
  EXPECT_FALSE(utilita_.ScriviINI(file_, s, k, bad));
  String nowhere = Windows(dir_.File("none/prog.ini"));
  EXPECT_FALSE(utilita_.ScriviINI(nowhere, s, k, v));
}

TEST_F(LeggiIniTest, RoutinesAnswerByDispatch) {
  ServerModule module;
  {
    ComPtr<IDispatch> object;
    ASSERT_EQ(UtilitaObject::Create(module, IID_IDispatch, object.PutVoid()), S_OK);
    EXCEPINFO info;
    Variant result;
    std::vector<Variant> write{Variant(file_), Variant(String(u"D")), Variant(String(u"k")),
                               Variant(String(u"42"))};
    ASSERT_EQ(TryInvokeByName(object.Get(), u"ScriviINI", DISPATCH_METHOD, write, &result, &info),
              S_OK);
    EXPECT_EQ(result, Variant(true));
    std::vector<Variant> read{Variant(file_), Variant(String(u"d")), Variant(String(u"K")),
                              Variant(String(u"0"))};
    ASSERT_EQ(TryInvokeByName(object.Get(), u"LeggiINI", DISPATCH_METHOD, read, &result, &info),
              S_OK);
    EXPECT_EQ(result, Variant(String(u"42")));
  }
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace zekalendo
