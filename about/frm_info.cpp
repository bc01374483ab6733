// The about box.
#include "about/frm_info.h"

#include "about/pictures.h"
#include "frame/automation/string_functions.h"
#include "frame/system/shell_execute.h"
#include "frame/ui/event_loop.h"
#include "frame/ui/screen.h"

namespace zekalendo {

namespace {
constexpr std::uint32_t kLinkBlue = 0x00FF0000;
constexpr std::uint32_t kRed = 0x000000FF;

std::shared_ptr<ze::container::Font> SansSerif(bool bold, bool underline) {
  auto font = std::make_shared<ze::container::Font>(u"MS Sans Serif", 9.75, bold);
  font->SetUnderline(underline);
  return font;
}

// The drive root of the library's own folder: the library lies below "/", which is
// the C: drive in the Windows form of paths.
constexpr char16_t kLibraryDriveRoot[] = u"C:\\";
}  // namespace

FrmInfo::FrmInfo()
    : Command1(AddChild<ze::ui::CommandButton>(u"Command1")),
      Label1(AddChild<ze::ui::Label>(u"Label1")),
      Label3(AddChild<ze::ui::Label>(u"Label3")),
      Label4(AddChild<ze::ui::Label>(u"Label4")),
      Image1(AddChild<ze::ui::Image>(u"Image1")),
      Image2(AddChild<ze::ui::Image>(u"Image2")) {
  SetCaption(u"Informazioni su ...");
  SetClientSize(6525, 3180);
  SetBorderStyle(3);

  Command1.SetCaption(u"&OK");
  Command1.Move(5280, 2640, 1095, 375);
  Command1.SetTabIndex(0);

  Label1.Move(1440, 300, 4935, 315);
  Label1.SetFont(SansSerif(true, false));

  // The links are as wide as their addresses need in the stand-in face, with room to
  // spare for a wider one; the mail link still ends well before the OK button.
  Label3.SetCaption(kWebAddress);
  Label3.Move(480, 2160, 3300, 240);
  Label3.SetToolTipText(u"Il mio sito ufficiale");
  Label4.SetCaption(ze::String(u"E-Mail: ") + kSupportMail);
  Label4.Move(480, 2520, 4050, 240);
  Label4.SetToolTipText(u"Scrivimi...");
  const auto hand = pictures::PointingHand();
  for (ze::ui::Label* link : {&Label3, &Label4}) {
    link->SetForeColor(kLinkBlue);
    link->SetFont(SansSerif(false, true));
    link->SetMousePointer(99);
    link->SetMouseIcon(hand);
  }

  // The icon shows at its own size in the corner of its place; the banner fills its
  // place exactly.
  Image1.Move(480, 240, 615, 570);
  Image1.SetPicture(pictures::ProgramIcon());
  Image2.Move(1440, 720, 3975, 1200);
  Image2.SetPicture(pictures::Banner());

  onLoad = [this] { Form_Load(); };
  Command1.onClick = [this] { Command1_Click(); };
  Label3.onClick = [this] { Label3_Click(); };
  Label4.onClick = [this] { Label4_Click(); };
}

void FrmInfo::Form_Load() {
  // Centred on the screen, then the name and the version without leading zeros.
  using ze::ui::Screen;
  Move((Screen::Width() - Width()) / 2, (Screen::Height() - Height()) / 2, Width(), Height());
  Label1.SetCaption(ze::String(kProductName) + u" v" + ze::FromUtf8(std::to_string(kMajor)) + u"." +
                    ze::FromUtf8(std::to_string(kMinor)) + u"." +
                    ze::FromUtf8(std::to_string(kRevision)));
}

void FrmInfo::Command1_Click() {
  Unload();
}

void FrmInfo::Label3_Click() {
  FlashLink(Label3, &FrmInfo::ApriSitoWeb);
}

void FrmInfo::Label4_Click() {
  FlashLink(Label4, &FrmInfo::ApriEMail);
}

void FrmInfo::FlashLink(ze::ui::Label& link, void (FrmInfo::*open)()) {
  // Red, painted before the desktop's program takes its time to start, and held a
  // moment after so that even a quick hand-over is seen.
  const std::uint32_t color = link.ForeColor();
  link.SetForeColor(kRed);
  ze::ui::DoEvents();
  (this->*open)();
  ze::ui::Sleep(100);
  link.SetForeColor(color);
}

void FrmInfo::ApriSitoWeb() {
  Open(kWebAddress);
}

void FrmInfo::ApriEMail() {
  Open(ze::String(u"Mailto:") + kSupportMail);
}

// The request holds counted strings: the address and the folder go as they are, with
// no terminating NUL for the opener to find inside them.
void FrmInfo::Open(const ze::String& address) {
  ze::system::ShellRequest request;
  request.hwnd = Hwnd();
  request.file = address;
  request.directory = kLibraryDriveRoot;
  request.showCommand = 1;
  ze::system::ShellExecute(request);  // a missing browser or mail program is silent
}

}  // namespace zekalendo
