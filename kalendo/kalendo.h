// Kalendo: the date-entry control.
//
// A one-line field that always shows a date as "dd/mm/yyyy" ("00/00/0000" is the empty
// date), edited digit by digit by overwriting, with an optional button that opens the
// calendar popup. The date lives in one place only: the text of the inner text box
// Text1. Every date property (Text, valore, DataText), the keyboard editor, the check
// made when the field is left and the popup read or write that text.
//
// The members are spread over one source file per concern:
//   kalendo_text.cpp        the date text, its conversions and the validity check
//   kalendo_keyboard.cpp    the overwrite editor (KeyPress / KeyDown)
//   kalendo_focus.cpp       focus, mouse and the events raised to the host
//   kalendo_properties.cpp  appearance properties and the property bag
//   kalendo_layout.cpp      laying out the field and the popup button
//   kalendo_popup.cpp       PopSelezione, the popup button and AboutBox
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "calendar/chiamante.h"
#include "frame/automation/date_value.h"
#include "frame/automation/string.h"
#include "frame/container/font.h"
#include "frame/container/picture.h"
#include "frame/container/property_bag.h"
#include "frame/ui/command_button.h"
#include "frame/ui/text_box.h"
#include "frame/ui/user_control.h"

namespace zekalendo {

using ze::Date;
using ze::String;

class Kalendo : public ze::ui::UserControl, public DataChiamante {
 public:
  // The text of the empty date, and the size of a newly placed control (twips).
  static constexpr std::u16string_view kDataVuota = u"00/00/0000";
  static constexpr float kDesignWidth = 2355;
  static constexpr float kDesignHeight = 375;

  Kalendo();
  ~Kalendo() override;

  // --- the date (the field text) ---
  String Text() const;  // the default member
  void SetText(const String& s);
  Date valore() const override;
  void SetValore(Date d) override;
  Date DataText() const;  // bindable, default-bound
  void SetDataText(Date d);
  void DelData();

  // --- appearance, passed through to the field ---
  std::uint32_t BackColor() const;
  void SetBackColor(std::uint32_t color);
  std::shared_ptr<ze::container::Font> GetFont() const;
  void SetFont(std::shared_ptr<ze::container::Font> font);
  std::uint32_t ForeColor() const;
  void SetForeColor(std::uint32_t color);
  bool Locked() const;
  void SetLocked(bool locked);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  std::shared_ptr<ze::container::Picture> MouseIcon() const;
  void SetMouseIcon(std::shared_ptr<ze::container::Picture> picture);
  std::int32_t MousePointer() const;
  void SetMousePointer(std::int32_t pointer);

  // --- the control's own settings ---
  bool Evidenzia() const { return evidenzia_; }
  void SetEvidenzia(bool value);
  bool PopSelezione() const { return popSelezione_; }
  void SetPopSelezione(bool value);

  void AboutBox();

  // The inner controls, for the container and for tests that inspect them.
  ze::ui::TextBox& Text1;
  ze::ui::CommandButton& cmdpop;

  // The editor's character buffer: ANSI codes, zero-filled at every editing step.
  using Buffer = std::vector<std::uint8_t>;
  static constexpr std::size_t kBufferSize = 129;
  static void StringaToArray(std::u16string_view s, Buffer& buffer);
  static String ArrayToStringa(const Buffer& buffer, std::int32_t n);

 protected:
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(ze::container::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(ze::container::PropertyBag& PropBag) override;
  void UserControl_Paint() override;

 private:
  void ControllaData();

  void Text1_KeyPress(std::int16_t& KeyAscii);
  void Text1_KeyDown(std::int16_t& KeyCode, std::int16_t Shift);
  void Text1_GotFocus();
  void Text1_LostFocus();
  void Text1_Click();
  void Text1_DblClick();
  void Text1_MouseDown(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
  void Text1_Change();
  void cmdpop_Click();

  bool evidenzia_ = true;
  bool popSelezione_ = false;
};

}  // namespace zekalendo
