// zeUtilita: a folder picked by the user, and a whole folder path made at once.
//
// The picker goes through the ui layer (frame/ui/folder_picker.h): a real folder
// dialog under the Qt backend, the answer a script or a test gives otherwise, and
// Cancel when nobody answers. Folders are made one at a time from the top, so a
// failure halfway leaves the folders above it made.
#include <exception>

#include "frame/system/folders.h"
#include "frame/ui/folder_picker.h"
#include "utilita/trim.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {

namespace {
// "/" separates folders in a Windows-form path as well as "\".
constexpr char16_t kSeparatori[] = u"\\/";
}  // namespace

ze::String zeUtilita::Sfoglia_Cartella(std::int32_t hwnd, ze::String& sTitle) const {
  ze::ui::FolderPickerRequest richiesta;
  richiesta.owner = hwnd;
  richiesta.title = sTitle;
  richiesta.fileSystemOnly = true;
  // Cancel, or a folder without a path, is the empty text; a chosen folder comes as
  // it is, without a "\" added.
  return ze::ui::SHBrowseForFolder(richiesta).value_or(u"");
}

bool zeUtilita::CreaPercorsoDirectory(ze::String& Path) const {
  try {
    if (Trim(Path).empty()) return false;
    if (Path.back() != u'\\') Path += u'\\';
    if (ze::system::FolderExists(Path)) return true;
    // From the first separator after the drive's ":" (the drive's root), or the first
    // separator of all when there is no drive, each prefix up to a separator is one
    // folder to make.
    const std::size_t duePunti = Path.find(u':');
    std::size_t sep = duePunti != ze::String::npos ? Path.find_first_of(kSeparatori, duePunti)
                                                   : Path.find_first_of(kSeparatori);
    for (; sep != ze::String::npos; sep = Path.find_first_of(kSeparatori, sep + 1)) {
      const ze::String cartella = Path.substr(0, sep + 1);
      if (!ze::system::FolderExists(cartella) && !ze::system::CreateFolder(cartella)) return false;
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace zekalendo
