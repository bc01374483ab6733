// The QFileDialog folder sink (see folder_dialog.h).
#include "frame/qt/folder_dialog.h"

#include <QtWidgets/QFileDialog>

#include "frame/qt/appearance.h"
#include "frame/system/desktop_folders.h"
#include "frame/system/files.h"

namespace ze::qt {

ze::ui::FolderPickerSink FolderDialogSink(std::function<QWidget*(ze::ui::WindowHandle)> owner) {
  return [owner = std::move(owner)](
             const ze::ui::FolderPickerRequest& request) -> std::optional<ze::String> {
    QWidget* parent = owner ? owner(request.owner) : nullptr;
    const QString start = QString::fromStdString(ze::system::HomeFolder());
    const QString chosen = QFileDialog::getExistingDirectory(
        parent, ToQString(request.title), start, QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) return std::nullopt;
    return ze::system::WindowsPath(chosen.toStdString());
  };
}

}  // namespace ze::qt
