// ZEInputNumerico's construction: the one inner field, and the wiring of its events
// to the control's handlers.
#include "numeric/ze_input_numerico.h"

namespace zekalendo {

ZEInputNumerico::ZEInputNumerico() : txtnumero(AddChild<ze::ui::TextBox>(u"txtnumero")) {
  SetWidth(1200);
  SetHeight(315);
  txtnumero.Move(0, 0, 1200, 315);
  txtnumero.SetTabIndex(0);

  txtnumero.onChange = [this] { txtNumero_Change(); };
  txtnumero.onGotFocus = [this] { txtnumero_GotFocus(); };
  txtnumero.onKeyPress = [this](std::int16_t& k) { txtNumero_KeyPress(k); };
  txtnumero.onLostFocus = [this] { txtnumero_LostFocus(); };
}

ZEInputNumerico::~ZEInputNumerico() = default;

void ZEInputNumerico::Solleva(std::u16string_view evento, double valore,
                              const std::function<void(double&)>& handler) {
  // Each receiver gets its own copy: what a handler writes there is dropped.
  if (handler) {
    double copia = valore;
    handler(copia);
  }
  RaiseEvent(evento, {ze::Variant(valore)});
}

}  // namespace zekalendo
