// The folder picker as a real dialog: a directory-only QFileDialog owned by the form's
// window, its choice in Windows form, Cancel as no folder.
#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>

#include "frame/system/files.h"
#include "frame/ui/folder_picker.h"
#include "tests/qt/qt_fixture.h"

namespace ze::qt::testing {
namespace {

class FolderDialogTest : public QtBackendTest {
 protected:
  // Runs the picker; `answer` sees the dialog once it is up and closes it.
  std::optional<ze::String> Pick(ze::ui::WindowHandle owner,
                                 const std::function<void(QFileDialog&)>& answer) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
        poll.stop();
        answer(*dialog);
      }
    });
    poll.start(5);
    return ze::ui::SHBrowseForFolder({owner, u"Scegli la cartella", true});
  }
};

TEST_F(FolderDialogTest, AChosenFolderComesInWindowsFormFromADialogOverTheForm) {
  auto form = NewShownForm();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  bool seen = false;
  const std::optional<ze::String> chosen = Pick(form->Hwnd(), [&](QFileDialog& dialog) {
    seen = true;
    EXPECT_EQ(dialog.windowTitle(), "Scegli la cartella");
    EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
    EXPECT_TRUE(dialog.testOption(QFileDialog::ShowDirsOnly));
    EXPECT_EQ(dialog.parentWidget(), backend_->WidgetOf(*form)) << "owned by the form's window";
    dialog.setDirectory(folder.path());
    dialog.selectFile(folder.path());
    QMetaObject::invokeMethod(&dialog, "accept");
  });
  ASSERT_TRUE(seen);
  const std::string canonical = QDir(folder.path()).canonicalPath().toStdString();
  ASSERT_TRUE(chosen.has_value());
  EXPECT_TRUE(*chosen == ze::system::WindowsPath(folder.path().toStdString()) ||
              *chosen == ze::system::WindowsPath(canonical))
      << ze::ToUtf8(*chosen);
}

TEST_F(FolderDialogTest, CancelIsNoFolder) {
  auto form = NewShownForm();
  const std::optional<ze::String> chosen =
      Pick(form->Hwnd(), [](QFileDialog& dialog) { dialog.reject(); });
  EXPECT_FALSE(chosen.has_value());
}

TEST_F(FolderDialogTest, AnUnknownOwnerGivesTheActiveWindow) {
  auto form = NewShownForm();
  Pick(123456, [&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.parentWidget(), backend_->WidgetOf(*form));
    dialog.reject();
  });
}

}  // namespace
}  // namespace ze::qt::testing
