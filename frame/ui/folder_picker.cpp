// The folder picker and its sink; see folder_picker.h.
#include "frame/ui/folder_picker.h"

namespace ze::ui {
namespace {

FolderPickerSink& Sink() {
  static FolderPickerSink sink;
  return sink;
}

}  // namespace

void SetFolderPickerSink(FolderPickerSink sink) { Sink() = std::move(sink); }

std::optional<String> SHBrowseForFolder(const FolderPickerRequest& request) {
  const FolderPickerSink sink = Sink();  // the sink may replace itself
  if (!sink) return std::nullopt;
  std::optional<String> chosen = sink(request);
  if (chosen && chosen->empty()) return std::nullopt;
  return chosen;
}

}  // namespace ze::ui
