// FrmInfo: the about box of the library, shown modal by Kalendo's AboutBox.
//
// It shows the library's name and version, its icon and banner, and two links, the
// maker's web address and support e-mail address, which open with the desktop's
// programs; the pointer over a link is a pointing hand. It has no state
// beyond its controls and closes with its OK button.
#pragma once

#include <memory>

#include "frame/ui/command_button.h"
#include "frame/ui/form.h"
#include "frame/ui/image.h"
#include "frame/ui/label.h"
#include "ze_installation.h"

namespace zekalendo {

class FrmInfo : public ze::ui::Form {
 public:
  // The library's product name and version, as the box shows them.
  static constexpr char16_t kProductName[] = u"zeKalendo";
  static constexpr int kMajor = 2, kMinor = 0, kRevision = 2;
  // The installation values (ze_installation.h).
  static constexpr char16_t kWebAddress[] = ZE_MAKER_WEB_ADDRESS;
  static constexpr char16_t kSupportMail[] = ZE_SUPPORT_MAIL;

  FrmInfo();
  static std::shared_ptr<FrmInfo> Create() { return ze::ui::NewForm<FrmInfo>(); }
  ze::String TypeName() const override { return u"FrmInfo"; }

  ze::ui::CommandButton& Command1;
  ze::ui::Label& Label1;
  ze::ui::Label& Label3;
  ze::ui::Label& Label4;
  ze::ui::Image& Image1;
  ze::ui::Image& Image2;

 private:
  void Form_Load();
  void Command1_Click();
  void Label3_Click();
  void Label4_Click();
  // Turns a link red while its address is handed to the desktop, then back.
  void FlashLink(ze::ui::Label& link, void (FrmInfo::*open)());
  void ApriSitoWeb();
  void ApriEMail();
  void Open(const ze::String& address);
};

}  // namespace zekalendo
