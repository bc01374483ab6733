// zeUtilita's Italian messages, error boxes and log file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frame/automation/clock.h"
#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"
#include "frame/automation/locale.h"
#include "frame/system/files.h"
#include "frame/ui/message_box.h"
#include "frame/ui/screen.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {
namespace {

using ze::String;
using ze::Variant;
namespace fs = std::filesystem;

class FixedClock final : public ze::Clock {
 public:
  ze::Date Now() override { return now; }
  ze::Date now{ze::DateSerial(2005, 9, 4).serial + (8 * 3600 + 5 * 60 + 9) / 86400.0};
};

// A library in a folder of the test's own, whose writes can be made to fail.
class TestFiles : public ze::system::DefaultFileService {
 public:
  String ModuleFile(const void*) override { return library; }
  String UserDataFolder() override { return user_data; }
  bool IsFolderWritable(const String& folder) override {
    return !library_folder_read_only && DefaultFileService::IsFolderWritable(folder);
  }
  bool Append(const String& path, std::string_view bytes) override {
    appends.push_back(path);
    return !fail_writes && DefaultFileService::Append(path, bytes);
  }
  String library;
  String user_data;
  bool library_folder_read_only = false;
  bool fail_writes = false;
  std::vector<String> appends;
};

class ErroriLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ze::Locale::SetCurrent("it_IT");
    ze::InstallClock(&clock_);
    dir_ = fs::temp_directory_path() / ("utilita_log_" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "lib");
    fs::create_directories(dir_ / "data");
    files_.library = ze::system::WindowsPath((dir_ / "lib" / "libzeKalendo.so").string());
    files_.user_data = ze::system::WindowsPath((dir_ / "data").string());
    ze::system::InstallFileService(&files_);
    ze::ui::SetMessageBoxSink([this](const ze::ui::MessageBoxRequest& box) {
      boxes_.push_back(box);
      return ze::ui::msgbox::kOk;
    });
    ze::Err().Clear();
  }
  void TearDown() override {
    ze::ui::SetMessageBoxSink(nullptr);
    ze::system::InstallFileService(nullptr);
    ze::InstallClock(nullptr);
    ze::Err().Clear();
    fs::remove_all(dir_);
  }

  static void SetError(std::int32_t number, String description) {
    ze::Err().Number = number;
    ze::Err().Description = std::move(description);
  }
  static std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  String Native(const std::string& name) const {
    return ze::system::WindowsPath((dir_ / name).string());
  }
  bool Log(const String& testo, std::optional<Variant> filename = std::nullopt,
           Variant data = Variant(true), Variant cancella = Variant(false)) {
    return u_.ScriviLog(testo, std::move(filename), std::move(data), std::move(cancella));
  }

  FixedClock clock_;
  TestFiles files_;
  fs::path dir_;
  std::vector<ze::ui::MessageBoxRequest> boxes_;
  zeUtilita u_;
};

TEST_F(ErroriLogTest, MessaggioErroreITAGivesTheTableOrTheCurrentDescription) {
  struct Case {
    std::int32_t codice;
    String messaggio;
  } cases[] = {
      {3, u"Return senza GoSub"},
      {6, u"Overflow"},
      {10, u"Questa matrice è fissa o temporaneamente bloccata "},
      {52, u"Nome o numero di file non valido"},
      {76, u"Impossibile trovare il percorso "},
      {458, u"La variabile utilizza un tipo di automazione non supportato in Visual Basic"},
      {746, u"Sostituzioni troppo lunghe"},
  };
  for (Case c : cases) {
    EXPECT_EQ(u_.MessaggioErroreITA(c.codice), c.messaggio) << c.codice;
  }
  for (std::int32_t fuori : {0, 4, 1000, 747, -3}) {
    EXPECT_EQ(u_.MessaggioErroreITA(fuori), u"") << fuori;
  }
  SetError(71, u"Disk not ready");
  std::int32_t codice = 4;
  EXPECT_EQ(u_.MessaggioErroreITA(codice), u"Disk not ready");
  EXPECT_EQ(codice, 4);
  EXPECT_EQ(ze::Err().Number, 71);
}

TEST_F(ErroriLogTest, TheTableHoldsEightySevenNumbers) {
  int held = 0;
  for (std::int32_t n = -10; n <= 2000; ++n) {
    std::int32_t codice = n;
    if (!u_.MessaggioErroreITA(codice).empty()) ++held;
  }
  EXPECT_EQ(held, 87);
}

TEST_F(ErroriLogTest, PrintErroreShowsTheCurrentErrorAndClearsIt) {
  ze::ui::Screen::SetMousePointer(11);
  SetError(53, u"File not found");
  u_.PrintErrore();
  SetError(52, u"Bad file name or number");
  u_.PrintErrore();
  SetError(-5, u"meno");
  u_.PrintErrore();
  ASSERT_EQ(boxes_.size(), 3u);
  EXPECT_EQ(boxes_[0].title, u"Errore n. 53");
  EXPECT_EQ(boxes_[0].prompt, u"File not found");
  EXPECT_EQ(boxes_[0].style, 64);
  EXPECT_EQ(boxes_[1].prompt, u"Impossibile leggere l'unità specificata.");
  EXPECT_EQ(boxes_[2].title, u"Errore n.-5");
  EXPECT_EQ(ze::Err().Number, 0);
  EXPECT_EQ(ze::Err().Description, u"");
  EXPECT_EQ(ze::ui::Screen::MousePointer(), 0);
}

TEST_F(ErroriLogTest, CatturaErroreKeepsTheErrorForPrintErroreCat) {
  u_.PrintErroreCat();
  SetError(52, u"Bad file name or number");
  ze::ui::Screen::SetMousePointer(11);
  u_.CatturaErrore();
  EXPECT_TRUE(boxes_.size() == 1);
  EXPECT_EQ(ze::Err().Number, 52);
  EXPECT_EQ(ze::ui::Screen::MousePointer(), 0);
  ze::Err().Clear();
  u_.PrintErroreCat();
  u_.PrintErroreCat();
  ASSERT_EQ(boxes_.size(), 3u);
  EXPECT_EQ(boxes_[0].title, u"Errore n. 0");
  EXPECT_EQ(boxes_[0].prompt, u"");
  for (std::size_t i : {1u, 2u}) {
    EXPECT_EQ(boxes_[i].title, u"Errore n. 52");
    EXPECT_EQ(boxes_[i].prompt, u"Impossibile leggere l'unità specificata.");
  }
  // Each object keeps its own.
  zeUtilita altro;
  altro.PrintErroreCat();
  EXPECT_EQ(boxes_.back().title, u"Errore n. 0");
}

TEST_F(ErroriLogTest, ScriviLogAppendsTimeStampedLinesBesideTheLibrary) {
  EXPECT_TRUE(Log(u"primo"));
  EXPECT_TRUE(Log(u"secondo", std::nullopt, Variant(false)));
  EXPECT_EQ(Read(dir_ / "lib" / "zeKalendo.log"), "2005-set-04 08:05:09 primo\r\nsecondo\r\n");
}

TEST_F(ErroriLogTest, ScriviLogGoesToTheUserDataFolderWhenTheLibrarysCannotBeWritten) {
  files_.library_folder_read_only = true;
  EXPECT_TRUE(Log(u"riga", std::nullopt, Variant(false)));
  EXPECT_EQ(Read(dir_ / "data" / "zeKalendo.log"), "riga\r\n");
  EXPECT_FALSE(fs::exists(dir_ / "lib" / "zeKalendo.log"));
}

TEST_F(ErroriLogTest, ScriviLogTrimsTheFileNameAndCanStartAfresh) {
  const String name = u"  " + Native("log.txt") + u"  ";
  EXPECT_TRUE(Log(u"vecchia", Variant(name), Variant(false)));
  EXPECT_TRUE(Log(u"nuova", Variant(name), Variant(false), Variant(true)));
  EXPECT_EQ(Read(dir_ / "log.txt"), "nuova\r\n");
  // Booleans given as texts or numbers convert.
  EXPECT_TRUE(Log(u"x", Variant(name), Variant(u"False"), Variant(std::int16_t{0})));
  EXPECT_EQ(Read(dir_ / "log.txt"), "nuova\r\nx\r\n");
}

TEST_F(ErroriLogTest, ScriviLogReportsEveryFailureByFalseAndKeepsTheCallersError) {
  SetError(53, u"del chiamante");
  // Deleting a file that is not there writes nothing.
  EXPECT_FALSE(Log(u"x", Variant(Native("assente.log")), Variant(true), Variant(true)));
  EXPECT_FALSE(fs::exists(dir_ / "assente.log"));
  EXPECT_FALSE(Log(u"x", Variant::Null()));
  EXPECT_FALSE(Log(u"x", Variant(Native("y.log")), Variant(u"forse")));
  EXPECT_FALSE(Log(u"x", Variant(Native("y.log")), Variant(true), Variant(u"forse")));
  EXPECT_FALSE(Log(u"x", Variant(Native("manca/y.log"))));
  EXPECT_FALSE(Log(u"x", Variant(u"   ")));
  files_.fail_writes = true;
  EXPECT_FALSE(Log(u"x"));
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(ze::Err().Number, 53);
  EXPECT_EQ(ze::Err().Description, u"del chiamante");
}

TEST_F(ErroriLogTest, ScriviLogWritesEachLineWithOneAppend) {
  const String name = Native("uno.log");
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Log(u"riga àè", Variant(name), Variant(false)));
  EXPECT_EQ(files_.appends.size(), 3u);
  EXPECT_EQ(Read(dir_ / "uno.log"), "riga àè\r\nriga àè\r\nriga àè\r\n");
}

}  // namespace
}  // namespace zekalendo
