// AnnoProvvisorio: a whole-number field with ZEInputNumerico's members, standing in for
// it as the calendar's year field until the numeric field exists.
//
// The number lives in the inner text box txtnumero; valore reads it back (0 when the
// text is no number). Assigning a value outside Minimo..Massimo fails with error 380;
// every change of the text raises CambioValore through the site; leaving the field
// brings a typed value back inside the limits. Digits, "-" and Backspace are the only
// keys it keeps.
#pragma once

#include "frame/ui/text_box.h"
#include "frame/ui/user_control.h"

namespace zekalendo {

class AnnoProvvisorio : public ze::ui::UserControl {
 public:
  AnnoProvvisorio();
  ze::String TypeName() const override { return u"ZEInputNumerico"; }

  double valore() const;
  void SetValore(double vNewValue);
  double Massimo() const { return massimo_; }
  double Minimo() const { return minimo_; }
  void IncrementaValore() { Passo(+1); }
  void DecrementaValore() { Passo(-1); }

  ze::ui::TextBox& txtnumero;

 protected:
  void UserControl_ReadProperties(ze::container::PropertyBag& PropBag) override;
  void UserControl_Resize() override;

 private:
  void Passo(int sign);
  void Commit();

  double massimo_ = 100;
  double minimo_ = 0;
};

}  // namespace zekalendo
