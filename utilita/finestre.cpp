// zeUtilita: bringing a window forward by its title, centring forms, keeping windows
// on top, the colour fade, and waiting.
//
// The windows are the ui layer's forms (the process's top-level windows, front to
// back as the desktop keeps them), whether they show on Qt or headless; a window
// handle is a form's Hwnd. Objects are reached late-bound through their dispatch
// interface, as any object with the named properties would be. The fade paints into
// the form's painting (frame/ui/painting.h), which the form keeps and redraws.
#include <unicode/unistr.h>

#include <cmath>
#include <limits>

#include "frame/automation/convert.h"
#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"
#include "frame/automation/number_text.h"
#include "frame/com/dispatch_client.h"
#include "frame/com/dispatch_object.h"
#include "frame/ui/desktop.h"
#include "frame/ui/event_loop.h"
#include "frame/ui/form.h"
#include "frame/ui/painting.h"
#include "frame/ui/screen.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {

namespace {

constexpr std::size_t kLunghezzaTitolo = 255;  // what a 256-character buffer holds
constexpr std::int16_t kPixel = 3;
constexpr std::int32_t kDivisioneZero = 11;
constexpr std::uint32_t kBluPuro = 0x00FF0000;
constexpr std::int32_t kPassoAttesa = 10;  // milliseconds

// The text folded for comparing without regard to letter case.
icu::UnicodeString Piegato(std::u16string_view s) {
  icu::UnicodeString u(false, s.data(), static_cast<int32_t>(s.size()));
  icu::UnicodeString copia(u);
  return copia.foldCase();
}

// Runs one step whose failure is skipped, as the routines do with every step.
template <class Passo>
void Salta(Passo passo) {
  try {
    passo();
  } catch (const ze::AutomationError&) {
    ze::Err().Clear();
  }
}

double Leggi(ze::com::IDispatch* o, std::u16string_view nome) {
  return ze::CDbl(ze::com::GetProperty(o, nome));
}

// Rounds to the nearest whole number, halves to even, as a Long.
std::int32_t Arrotonda(double v) {
  const double r = std::nearbyint(v);
  if (!(r >= std::numeric_limits<std::int32_t>::min() &&
        r <= std::numeric_limits<std::int32_t>::max()))
    ze::Raise(ze::errors::kOverflow);
  return static_cast<std::int32_t>(r);
}

// Whole seconds of an absolute time, so that a wait can cross midnight. Before day 0
// a Date's fraction still counts forward from its day's midnight.
std::int64_t SecondiDi(ze::Date d) {
  const double giorno = std::trunc(d.serial);
  const double lineare = giorno + std::fabs(d.serial - giorno);
  const std::int64_t ms = std::llround(lineare * 86400.0 * 1000.0);
  return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

}  // namespace

bool zeUtilita::ShowFinestraConTitolo(ze::String& testo) const {
  if (testo.empty()) return false;
  const icu::UnicodeString cercato = Piegato(testo);
  ze::ui::Form* h = nullptr;
  for (ze::ui::Form* finestra : ze::ui::Desktop::OpenForms()) {
    ze::String titolo = finestra->Caption();
    titolo = titolo.substr(0, std::min(titolo.find(u'\0'), kLunghezzaTitolo));
    if (Piegato(titolo).indexOf(cercato) >= 0) {
      h = finestra;
      break;
    }
  }
  if (h == nullptr) return false;
  const std::weak_ptr<void> vivo = h->AliveToken();
  Salta([&] { h->SetWindowState(0); });
  Salta([&] {
    if (vivo.expired()) return;
    if (!h->VisibleFlag())
      h->Show();
    else
      h->Activate();
  });
  return true;
}

void zeUtilita::CentraForm(ze::ObjectRef& obj) const {
  ze::com::ComPtr<ze::com::IDispatch> o;
  Salta([&] { o = ze::com::DispatchOf(ze::Variant(obj)); });
  if (!o) return;
  Salta([&] {
    const double left = (ze::ui::Screen::Width() - Leggi(o.Get(), u"Width")) / 2;
    ze::com::LetProperty(o.Get(), u"Left", ze::Variant(left));
  });
  Salta([&] {
    const double top = (ze::ui::Screen::Height() - Leggi(o.Get(), u"Height")) / 2;
    ze::com::LetProperty(o.Get(), u"Top", ze::Variant(top));
  });
}

void zeUtilita::CentraFormFiglio(ze::ObjectRef& padre, ze::ObjectRef& obj) const {
  ze::com::ComPtr<ze::com::IDispatch> p, o;
  Salta([&] { p = ze::com::DispatchOf(ze::Variant(padre)); });
  Salta([&] { o = ze::com::DispatchOf(ze::Variant(obj)); });
  if (!p || !o) return;
  Salta([&] {
    const double left = (Leggi(p.Get(), u"ScaleWidth") - Leggi(o.Get(), u"Width")) / 2;
    ze::com::LetProperty(o.Get(), u"Left", ze::Variant(left));
  });
  Salta([&] {
    const double top = (Leggi(p.Get(), u"ScaleHeight") - Leggi(o.Get(), u"Height")) / 2;
    ze::com::LetProperty(o.Get(), u"Top", ze::Variant(top));
  });
}

void zeUtilita::FinetraTopMost(std::int32_t& hwnd,
                               std::optional<ze::Variant>& SempreInPrimoPiano) const {
  const bool primoPiano =
      !SempreInPrimoPiano || (!SempreInPrimoPiano->IsNull() && ze::CBool(*SempreInPrimoPiano));
  // A handle of no window changes nothing, as the window call's result goes unread.
  if (ze::ui::Form* finestra = ze::ui::Desktop::FindByHandle(hwnd))
    finestra->SetTopMost(primoPiano);
}

void zeUtilita::SfumaForm(ze::ObjectRef& InputForm, std::optional<ze::Variant>& ColoreIniziale,
                          std::optional<ze::Variant>& PassoA,
                          std::optional<ze::Variant>& PassoB) const {
  const std::int32_t c =
      ColoreIniziale ? ze::CLng(*ColoreIniziale) : static_cast<std::int32_t>(kBluPuro);
  const std::int32_t n = PassoA ? ze::CLng(*PassoA) : 60;
  const std::int16_t s = PassoB ? ze::CInt(*PassoB) : 4;

  ze::com::ComPtr<ze::com::IDispatch> form = ze::com::DispatchOf(ze::Variant(InputForm));
  const ze::Variant scalaPrima = ze::com::GetProperty(form.Get(), u"ScaleMode");
  ze::com::LetProperty(form.Get(), u"ScaleMode", ze::Variant(kPixel));
  // The form gets its scale back whatever fails below.
  struct Ripristina {
    ze::com::IDispatch* form;
    const ze::Variant& scala;
    ~Ripristina() {
      try {
        ze::com::LetProperty(form, u"ScaleMode", scala);
      } catch (const ze::AutomationError&) {
      }
    }
  } ripristina{form.Get(), scalaPrima};

  if (n == 0) ze::Raise(kDivisioneZero);
  const float b =
      ze::CSng(ze::com::GetProperty(form.Get(), u"ScaleHeight")) / static_cast<float>(n);
  const std::int32_t hdc = ze::CLng(ze::com::GetProperty(form.Get(), u"hDC"));
  ze::ui::PixelRect rect;
  rect.left = 0;
  rect.top = 0;
  rect.right = Arrotonda(ze::CSng(ze::com::GetProperty(form.Get(), u"ScaleWidth")));

  std::int32_t r = c & 255;
  std::int32_t g = (c / 256) & 255;
  std::int32_t u = (c / 65536) & 255;
  const std::int32_t passoR = r > 0 ? s : 0;
  const std::int32_t passoG = g > 0 ? s : 0;
  const std::int32_t passoU = u > 0 ? s : 0;

  const std::int16_t bande = ze::CInt(static_cast<double>(n));
  for (std::int32_t i = 1; i <= bande; ++i) {
    rect.bottom = Arrotonda(static_cast<float>(i) * b);
    ze::ui::FillRect(hdc, rect, static_cast<std::uint32_t>(r + 256 * g + 65536 * u));
    r = (r - passoR) & 255;
    g = (g - passoG) & 255;
    u = (u - passoU) & 255;
    rect.top = rect.bottom;
  }
}

void zeUtilita::WaitSecondi(std::int16_t& sec) const {
  // The target is an absolute time, so that a wait across midnight ends after sec
  // seconds like any other.
  const std::int64_t t = SecondiDi(ze::Now()) + sec;
  while (SecondiDi(ze::Now()) <= t) {
    ze::ui::DoEvents();
    // A short rest between rounds keeps the wait from taking a whole processor; events
    // are still handled within milliseconds.
    ze::ui::Sleep(kPassoAttesa);
  }
}

void zeUtilita::Sleep(std::int32_t& millisecondi) const {
  // A negative time would be a wait of days on the original platform; here it is none.
  if (millisecondi > 0) ze::ui::Sleep(millisecondi);
}

}  // namespace zekalendo
