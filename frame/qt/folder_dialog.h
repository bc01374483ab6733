// The folder picker as a real dialog: the sink (frame/ui/folder_picker.h) that runs
// QFileDialog::getExistingDirectory in directory-only mode, modal over the owner
// window, starting at the user's home folder, and gives the chosen folder in Windows
// form (files.h, WindowsPath), or nothing when the user cancelled.
#pragma once

#include <functional>

#include "frame/ui/folder_picker.h"

class QWidget;

namespace ze::qt {

// `owner` gives the window that owns the dialog for a request's owner handle (may be
// null: the dialog then has no parent).
ze::ui::FolderPickerSink FolderDialogSink(std::function<QWidget*(ze::ui::WindowHandle)> owner);

}  // namespace ze::qt
