// The folder picker: SHBrowseForFolder and the sink that answers it.
//
// As with message boxes (message_box.h), the picker goes to a sink that the backend or
// a test installs: it sees the owner window and the title and gives the chosen folder
// (Windows form) or nothing for Cancel. Without a sink nobody can choose, so the
// answer is Cancel. The Qt backend's sink shows a real folder dialog over the owner.
#pragma once

#include <functional>
#include <optional>

#include "frame/automation/string.h"
#include "frame/ui/form.h"

namespace ze::ui {

struct FolderPickerRequest {
  WindowHandle owner = 0;  // the form whose window owns the dialog; 0 for none
  String title;
  // Only folders of the file system (those with a path), as the flag of the same
  // meaning asks; every folder the desktop shows here is one.
  bool fileSystemOnly = true;
};

using FolderPickerSink = std::function<std::optional<String>(const FolderPickerRequest&)>;

// Installs the sink (an empty function restores the default answer, Cancel).
void SetFolderPickerSink(FolderPickerSink sink);

// Shows the picker; the chosen folder, or nothing when the user cancelled (or chose
// an empty path).
std::optional<String> SHBrowseForFolder(const FolderPickerRequest& request);

}  // namespace ze::ui
