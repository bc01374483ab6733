// Folder paths made in one call, and the folder picker's answers.
#include <filesystem>
#include <fstream>

#include "frame/ui/folder_picker.h"
#include "tests/utilita/cartelle_fixture.h"

namespace zekalendo::testing {
namespace {

namespace fs = std::filesystem;
using ze::String;

class CreaPercorsoTest : public CartelleTest {
 protected:
  CreaPercorsoTest() {
    fs::create_directories(c_);
    MapDrive(u"C:", c_);
  }
  // Everything below the C: drive's folder, relative, in order.
  std::vector<std::string> Contents() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(c_))
      found.push_back(fs::relative(entry.path(), c_).string());
    std::sort(found.begin(), found.end());
    return found;
  }
  bool Crea(String& path) { return u_.CreaPercorsoDirectory(path); }

  std::string c_ = dir_.File("c");
};

TEST_F(CreaPercorsoTest, EveryMissingFolderIsMadeAndThePathGetsItsSeparator) {
  String path = u"C:\\a\\b\\c";
  EXPECT_TRUE(Crea(path));
  EXPECT_EQ(path, u"C:\\a\\b\\c\\");
  EXPECT_EQ(Contents(), (std::vector<std::string>{"a", "a/b", "a/b/c"}));
  // Again: it exists, and the text already ends in "\".
  EXPECT_TRUE(Crea(path));
  EXPECT_EQ(path, u"C:\\a\\b\\c\\");
  // Below folders that exist, with "/" as a separator too and no drive (C:).
  String more = u"\\a/b\\d/e";
  EXPECT_TRUE(Crea(more));
  EXPECT_EQ(more, u"\\a/b\\d/e\\");
  EXPECT_TRUE(fs::is_directory(c_ + "/a/b/d/e"));
}

TEST_F(CreaPercorsoTest, BlankOrEmptyPathsMakeNothing) {
  for (const char16_t* text : {u"", u" ", u"    "}) {
    String path = text;
    EXPECT_FALSE(Crea(path)) << '"' << ze::ToUtf8(text) << '"';
    EXPECT_EQ(path, text) << "left as it was";
  }
  EXPECT_TRUE(Contents().empty());
}

TEST_F(CreaPercorsoTest, AFailureHalfwayKeepsTheFoldersAlreadyMade) {
  // A folder name longer than any file system allows stops the third step.
  String path = u"C:\\a\\b\\" + String(300, u'x') + u"\\c";
  EXPECT_FALSE(Crea(path));
  EXPECT_EQ(Contents(), (std::vector<std::string>{"a", "a/b"}));
  // A file in the way is no folder.
  std::ofstream(c_ + "/a/file");
  String blocked = u"C:\\a\\file\\sotto";
  EXPECT_FALSE(Crea(blocked));
  EXPECT_TRUE(fs::is_regular_file(c_ + "/a/file"));
}

TEST_F(CreaPercorsoTest, PathsWithoutANativeFormFail) {
  for (const char16_t* text : {u"Q:\\senza\\unita", u"\\\\server\\share\\x"}) {
    String path = text;
    EXPECT_FALSE(Crea(path)) << ze::ToUtf8(text);
  }
  EXPECT_TRUE(Contents().empty());
}

class SfogliaTest : public CartelleTest {
 protected:
  ~SfogliaTest() override { ze::ui::SetFolderPickerSink(nullptr); }
};

TEST_F(SfogliaTest, NobodyToChooseIsCancel) {
  String titolo = u"Scegli una cartella";
  EXPECT_EQ(u_.Sfoglia_Cartella(0, titolo), u"");
}

TEST_F(SfogliaTest, TheAnswerComesAsChosenAndCancelIsEmpty) {
  std::vector<ze::ui::FolderPickerRequest> requests;
  std::optional<String> answer = u"D:\\Scelta";
  ze::ui::SetFolderPickerSink([&](const ze::ui::FolderPickerRequest& r) {
    requests.push_back(r);
    return answer;
  });
  String titolo = u"Dove salvo?";
  EXPECT_EQ(u_.Sfoglia_Cartella(1234, titolo), u"D:\\Scelta") << "no separator added";
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].owner, 1234);
  EXPECT_EQ(requests[0].title, u"Dove salvo?");
  EXPECT_TRUE(requests[0].fileSystemOnly);
  answer = std::nullopt;
  EXPECT_EQ(u_.Sfoglia_Cartella(0, titolo), u"");
  answer = u"";
  EXPECT_EQ(u_.Sfoglia_Cartella(0, titolo), u"");
  EXPECT_EQ(titolo, u"Dove salvo?");
}

}  // namespace
}  // namespace zekalendo::testing
