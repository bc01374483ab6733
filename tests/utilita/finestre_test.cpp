// zeUtilita's window helpers on the headless ui: forms found by title, centred, kept on
// top, painted with the fade, and waits on the virtual clock.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"
#include "frame/com/com_ptr.h"
#include "frame/com/dispatch_client.h"
#include "frame/host/form_object.h"
#include "frame/ui/form.h"
#include "frame/ui/timer.h"
#include "tests/ui/ui_fixture.h"
#include "tests/utilita/error_of.h"
#include "utilita/utilita_object.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {
namespace {

using ze::String;
using ze::Variant;
using ze::ui::Form;
using ze::ui::PixelRect;

class FinestreTest : public ze::ui::testing::UiTest {
 protected:
  std::shared_ptr<Form> Finestra(String caption) {
    auto form = ze::ui::NewForm<Form>();
    form->SetCaption(std::move(caption));
    forms_.push_back(form);
    return form;
  }
  bool Mostra(String testo) { return utilita_.ShowFinestraConTitolo(testo); }
  ze::ObjectRef Oggetto(const std::shared_ptr<Form>& form) {
    return ze::host::FormObject(form).Get<ze::ObjectRef>();
  }
  // The colour fade on a form of 20 x 600 pixels of client area.
  std::shared_ptr<Form> Tela() {
    auto form = Finestra(u"Tela");
    form->SetClientSize(20 * 15, 600 * 15);
    form->Show();
    return form;
  }
  void Sfuma(const std::shared_ptr<Form>& form, std::optional<Variant> colore,
             std::optional<Variant> bande = std::nullopt,
             std::optional<Variant> passo = std::nullopt) {
    ze::ObjectRef o = Oggetto(form);
    utilita_.SfumaForm(o, colore, bande, passo);
  }
  std::vector<std::shared_ptr<Form>> forms_;
  zeUtilita utilita_;
};

TEST_F(FinestreTest, ShowFinestraConTitoloFindsTheFirstFormByPartOfItsTitle) {
  auto anagrafica = Finestra(u"Anagrafica Clienti");
  auto esteri = Finestra(u"Clienti esteri");
  anagrafica->Show();
  esteri->Show();  // now the front one
  EXPECT_FALSE(Mostra(u""));
  EXPECT_FALSE(Mostra(u"fornitori"));
  EXPECT_EQ(ze::ui::Desktop::Active(), esteri.get());

  anagrafica->SetWindowState(1);
  EXPECT_TRUE(Mostra(u"ANAGRAFICA"));
  EXPECT_EQ(anagrafica->WindowState(), 0);
  EXPECT_EQ(ze::ui::Desktop::Active(), anagrafica.get());
  // Both match: the front one wins.
  EXPECT_TRUE(Mostra(u"clienti"));
  EXPECT_EQ(ze::ui::Desktop::Active(), anagrafica.get());
  // A hidden form is shown, as its window would be.
  esteri->Hide();
  EXPECT_TRUE(Mostra(u"ESTERI"));
  EXPECT_TRUE(esteri->VisibleFlag());
  EXPECT_EQ(ze::ui::Desktop::Active(), esteri.get());
  // The title is read up to its first NUL.
  anagrafica->SetCaption(String(u"Vendite\0Segreto", 15));
  EXPECT_FALSE(Mostra(u"segreto"));
  EXPECT_TRUE(Mostra(u"vendite"));
}

TEST_F(FinestreTest, CentraFormPlacesTheFormInTheMiddleOfTheScreen) {
  ASSERT_EQ(ze::ui::Screen::Width(), 15360);
  ASSERT_EQ(ze::ui::Screen::Height(), 11520);
  auto form = Finestra(u"Centrata");
  form->Move(0, 0, 4800, 3600);
  ze::ObjectRef o = Oggetto(form);
  utilita_.CentraForm(o);
  EXPECT_EQ(form->Left(), 5280);
  EXPECT_EQ(form->Top(), 3960);
  // Objects without the properties, and Nothing, are skipped without an error.
  ze::ObjectRef nothing;
  utilita_.CentraForm(nothing);
  EXPECT_EQ(ze::Err().Number, 0);
}

TEST_F(FinestreTest, CentraFormFiglioCentresInTheParentsClientArea) {
  auto padre = Finestra(u"Padre");
  padre->SetClientSize(9000, 6000);
  auto figlio = Finestra(u"Figlio");
  figlio->Move(0, 0, 3001, 2000);
  ze::ObjectRef p = Oggetto(padre), o = Oggetto(figlio);
  utilita_.CentraFormFiglio(p, o);
  EXPECT_FLOAT_EQ(figlio->Left(), 2999.5f);
  EXPECT_EQ(figlio->Top(), 2000);
  // In the parent's scale units: pixels when its ScaleMode says so.
  padre->SetScaleMode(3);
  utilita_.CentraFormFiglio(p, o);
  EXPECT_FLOAT_EQ(figlio->Left(), (600 - 3001) / 2.0f);
  ze::ObjectRef nothing;
  utilita_.CentraFormFiglio(nothing, o);
  utilita_.CentraFormFiglio(p, nothing);
  EXPECT_EQ(ze::Err().Number, 0);
}

TEST_F(FinestreTest, FinetraTopMostTakesItsBooleanAsTheRoutineDoes) {
  auto form = Finestra(u"Sopra");
  form->Show();
  std::int32_t h = form->Hwnd();
  std::optional<Variant> omitted;
  utilita_.FinetraTopMost(h, omitted);
  EXPECT_TRUE(form->TopMost());
  std::optional<Variant> no = Variant(false);
  utilita_.FinetraTopMost(h, no);
  EXPECT_FALSE(form->TopMost());
  std::optional<Variant> yes = Variant(String(u"True"));
  utilita_.FinetraTopMost(h, yes);
  EXPECT_TRUE(form->TopMost());
  std::optional<Variant> null = Variant::Null();
  utilita_.FinetraTopMost(h, null);
  EXPECT_FALSE(form->TopMost());
  std::optional<Variant> text = Variant(String(u"forse"));
  EXPECT_EQ(ErrorOf([&] { utilita_.FinetraTopMost(h, text); }), ze::errors::kTypeMismatch);
  std::int32_t none = 0x7FFF0000;
  utilita_.FinetraTopMost(none, omitted);
}

TEST_F(FinestreTest, SfumaFormPaintsDarkeningBands) {
  auto form = Tela();
  Sfuma(form, std::nullopt);
  const auto& bands = form->Painting();
  ASSERT_EQ(bands.size(), 60u);
  EXPECT_EQ(bands[0].rect, (PixelRect{0, 0, 20, 10}));
  EXPECT_EQ(bands[0].color, 0xFF0000u);
  EXPECT_EQ(bands[1].color, 0xFB0000u);
  EXPECT_EQ(bands[59].rect, (PixelRect{0, 590, 20, 600}));
  EXPECT_EQ(bands[59].color, 0x130000u);
  EXPECT_EQ(form->ScaleMode(), 1);
}

TEST_F(FinestreTest, SfumaFormComponentsWrapAndZeroesStay) {
  auto grigio = Tela();
  Sfuma(grigio, Variant(std::int32_t{0x808080}));
  EXPECT_EQ(grigio->Painting()[32].color, 0x000000u);  // band 33
  EXPECT_EQ(grigio->Painting()[33].color, 0xFCFCFCu);  // band 34
  auto rosso = Tela();
  Sfuma(rosso, Variant(std::int32_t{0xFF}));
  for (const auto& band : rosso->Painting()) EXPECT_EQ(band.color & 0xFFFF00, 0u);
  EXPECT_EQ(rosso->Painting()[1].color, 0xFBu);
  // Band heights that are not whole pixels round halves to even: 600 / 16 = 37.5.
  auto sedici = Tela();
  Sfuma(sedici, std::nullopt, Variant(std::int32_t{16}));
  EXPECT_EQ(sedici->Painting()[0].rect.bottom, 38);
  EXPECT_EQ(sedici->Painting()[2].rect.bottom, 112);  // 112.5
  // Painting again replaces what it covers instead of piling up.
  Sfuma(sedici, std::nullopt, Variant(std::int32_t{16}));
  EXPECT_EQ(sedici->Painting().size(), 16u);
}

TEST_F(FinestreTest, SfumaFormFailuresReachTheCallerAndKeepTheScale) {
  auto form = Tela();
  EXPECT_EQ(ErrorOf([&] { Sfuma(form, std::nullopt, Variant(std::int32_t{0})); }), 11);
  EXPECT_EQ(form->ScaleMode(), 1);
  EXPECT_EQ(ErrorOf([&] { Sfuma(form, std::nullopt, Variant(std::int32_t{40000})); }),
            ze::errors::kOverflow);
  EXPECT_EQ(form->ScaleMode(), 1);
  EXPECT_EQ(ErrorOf([&] { Sfuma(form, Variant(String(u"blu"))); }), ze::errors::kTypeMismatch);
  Sfuma(form, std::nullopt, Variant(std::int32_t{-3}));
  EXPECT_TRUE(form->Painting().empty());
  form->SetScaleMode(3);
  Sfuma(form, std::nullopt, Variant(std::int32_t{2}));
  EXPECT_EQ(form->ScaleMode(), 3);
  EXPECT_EQ(form->Painting().size(), 2u);
}

TEST_F(FinestreTest, WaitSecondiZeroEndsAtTheNextSecond) {
  backend_.SetNow(ze::Date(ze::DateSerial(2005, 12, 25).serial + 0.5 + 0.4 / 86400));
  std::int16_t zero = 0;
  utilita_.WaitSecondi(zero);
  const double waited = (ze::Now().serial - ze::DateSerial(2005, 12, 25).serial) * 86400 - 43200;
  // At 12:00:01, give or take one round of the wait.
  EXPECT_NEAR(waited, 1.005, 0.0051);
  EXPECT_EQ(ze::Second(ze::Now()), 1);
}

TEST_F(FinestreTest, WaitSecondiHandlesEventsAndCrossesMidnight) {
  backend_.SetNow(
      ze::Date(ze::DateSerial(2005, 12, 31).serial + ze::TimeSerial(23, 59, 58).serial));
  auto form = Finestra(u"Orologio");
  auto& timer = form->AddChild<ze::ui::Timer>(u"Timer1");
  int ticks = 0;
  timer.onTimer = [&] { ++ticks; };
  timer.SetInterval(1000);
  form->Show();
  std::int16_t cinque = 5;
  utilita_.WaitSecondi(cinque);
  const ze::Date now = ze::Now();
  EXPECT_EQ(ze::Year(now), 2006);
  EXPECT_EQ(ze::Second(now), 4);
  EXPECT_GE(ticks, 5);
}

TEST_F(FinestreTest, SleepBlocksForItsTime) {
  const ze::Date before = ze::Now();
  std::int32_t ms = 1500;
  utilita_.Sleep(ms);
  EXPECT_NEAR((ze::Now().serial - before.serial) * 86400, 1.5, 1e-6);
  std::int32_t negative = -1;
  utilita_.Sleep(negative);
  EXPECT_NEAR((ze::Now().serial - before.serial) * 86400, 1.5, 1e-6);
}

TEST_F(FinestreTest, TheHelpersAnswerByDispatch) {
  using namespace ze::com;
  ServerModule module;
  auto form = Finestra(u"Per nome");
  form->Move(0, 0, 4800, 3600);
  {
    ComPtr<IDispatch> object;
    ASSERT_EQ(UtilitaObject::Create(module, IID_IDispatch, object.PutVoid()), S_OK);
    EXCEPINFO info;
    Variant result;
    std::vector<Variant> centra{ze::host::FormObject(form)};
    ASSERT_EQ(TryInvokeByName(object.Get(), u"CentraForm", DISPATCH_METHOD, centra, &result, &info),
              S_OK);
    EXPECT_EQ(form->Left(), 5280);
    std::vector<Variant> sopra{Variant(form->Hwnd())};
    ASSERT_EQ(
        TryInvokeByName(object.Get(), u"FinetraTopMost", DISPATCH_METHOD, sopra, &result, &info),
        S_OK);
    EXPECT_TRUE(form->TopMost());
    std::vector<Variant> sfuma{ze::host::FormObject(form), Variant(std::int32_t{0xFF}),
                               Variant(std::int32_t{0})};
    EXPECT_EQ(TryInvokeByName(object.Get(), u"SfumaForm", DISPATCH_METHOD, sfuma, &result, &info),
              DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, MAKE_HRESULT(1, FACILITY_CONTROL, 11));
  }
  forms_.clear();
  ze::ui::Desktop::UnloadAll();
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace zekalendo
