// zeUtilita's versions and system information.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frame/automation/error.h"
#include "frame/com/com_ptr.h"
#include "frame/com/dispatch_client.h"
#include "frame/ui/message_box.h"
#include "tests/fixtures/child_process.h"
#include "tests/fixtures/mingw_pe.h"
#include "tests/utilita/error_of.h"
#include "utilita/utilita_object.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {
namespace {

using ze::String;
using ze::Variant;
namespace fs = std::filesystem;

constexpr std::int32_t kHklm = static_cast<std::int32_t>(0x80000002);

class VersioniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/versioni_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder_ = name;
    ze::Err().Clear();
    ze::ui::SetMessageBoxSink([this](const ze::ui::MessageBoxRequest& box) {
      boxes_.push_back(box);
      return ze::ui::msgbox::kOk;
    });
  }
  void TearDown() override {
    ze::ui::SetMessageBoxSink(nullptr);
    ze::Err().Clear();
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(folder_);
  }
  String Path(const std::string& name) const { return ze::FromUtf8(folder_ + "/" + name); }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(folder_ + "/" + name) << text;
  }
  std::int32_t Confronta(String a, String b) { return utilita_.ConfrontaVersione(a, b); }
  String Versione(String file) { return utilita_.GetVersione(file); }
  bool Aperto(String file) { return utilita_.FileAperto(file); }
  bool Scrivibile(String folder, bool verbose) { return utilita_.WriteAccess(folder, verbose); }

  std::string folder_;
  std::vector<ze::ui::MessageBoxRequest> boxes_;
  zeUtilita utilita_;
};

struct Comparison {
  const char16_t* a;
  const char16_t* b;
  std::int32_t result;
};

TEST_F(VersioniTest, ConfrontaVersioneComparesPartByPart) {
  const Comparison cases[] = {
      {u"2.0.0.2", u"2.0.0.10", -1},
      {u"2.0.0.10", u"2.0.0.2", 1},
      {u"1.10", u"1.9.0.0", 1},
      // Fewer parts repeat the last one.
      {u"1.2", u"1.2.2.2", 0},
      {u"1.2", u"1.2.0.0", 1},
      {u"3", u"3.3.3.3", 0},
      // Non-numeric parts count as 0, extra parts are ignored.
      {u"a.b", u"0.0.0.0", 0},
      {u"1.2.3.4.9", u"1.2.3.4.1", 0},
      {u"", u"0.0.0.0", 0},
      // A part reads as Val reads it: blanks first, a number in any of its forms.
      {u" 7.1", u"7.1.1.1", 0},
      {u"1e1.0.0.0", u"10.0.0.0", 0},
      {u"5x.0.0.0", u"5.0.0.0", 0},
      {u"-1.0.0.0", u"0.0.0.0", -1},
      {u"32767.0.0.0", u"32766.9", 1},
      {u"-32768", u"-32768.-32768", 0},
  };
  for (const Comparison& c : cases) {
    EXPECT_EQ(Confronta(c.a, c.b), c.result) << ze::ToUtf8(c.a) << " vs " << ze::ToUtf8(c.b);
  }
}

TEST_F(VersioniTest, ConfrontaVersioneOverflowsAboveSixteenBits) {
  for (const char16_t* big : {u"32768.0.0.0", u"1.0.0.40000", u"-32769", u"1.99999"}) {
    EXPECT_EQ(ErrorOf([&] { Confronta(big, u"1.0.0.0"); }), ze::errors::kOverflow)
        << ze::ToUtf8(big);
  }
  // Parts after the first difference are never read.
  EXPECT_EQ(Confronta(u"2.0.0.40000", u"1.0.0.0"), 1);
}

TEST_F(VersioniTest, GetVersioneOfFilesWithoutAVersion) {
  Write("testo.txt", "just text\r\n");
  Write("MZ.dll", "MZ");
  EXPECT_EQ(Versione(Path("testo.txt")), u"0.0.0.0");
  EXPECT_EQ(Versione(Path("MZ.dll")), u"0.0.0.0");
  EXPECT_EQ(Versione(Path("missing.dll")), u"0.0.0.0");
  EXPECT_EQ(Versione(ze::FromUtf8(folder_)), u"0.0.0.0");
  EXPECT_EQ(Versione(u"\\\\server\\share\\a.dll"), u"0.0.0.0");
}

TEST_F(VersioniTest, GetVersioneOfMingwBuiltFiles) {
  if (!ze::fixtures::MingwAvailable())
    GTEST_SKIP() << "mingw-w64 (windres, gcc) is not installed: scripts/install-deps.sh";
  using ze::fixtures::PeKind;
  struct Built {
    const char* name;
    PeKind kind;
    std::optional<std::array<unsigned, 4>> stamp;
    const char16_t* text;
  };
  const Built files[] = {
      {"zeprova.dll", PeKind::kDll, std::array<unsigned, 4>{2, 0, 0, 2}, u"2.0.0.2"},
      // Parts above 32767 are written as stamped, 0 to 65535.
      {"alta.dll", PeKind::kDll, std::array<unsigned, 4>{40000, 65535, 32768, 7},
       u"40000.65535.32768.7"},
      {"programma.exe", PeKind::kExe, std::array<unsigned, 4>{6, 0, 8169, 0}, u"6.0.8169.0"},
      {"nuda.dll", PeKind::kDll, std::nullopt, u"0.0.0.0"},
  };
  for (const Built& f : files) {
    ASSERT_TRUE(ze::fixtures::BuildPe(folder_, f.name, f.kind, f.stamp)) << f.name;
    EXPECT_EQ(Versione(Path(f.name)), f.text) << f.name;
  }
  // Read back, such a version compares as far as 16 bits hold it.
  String alta = Versione(Path("alta.dll"));
  EXPECT_EQ(ErrorOf([&] { Confronta(alta, u"1.0"); }), ze::errors::kOverflow);
  EXPECT_EQ(Confronta(Versione(Path("zeprova.dll")), u"2.0.0.10"), -1);
}

TEST_F(VersioniTest, TheSystemAnswersAsTheNewestNtRow) {
  struct utsname u;
  ASSERT_EQ(uname(&u), 0);
  EXPECT_EQ(utilita_.InfoSO(), 8);
  EXPECT_TRUE(utilita_.IsWindowsNT());
  const std::string text = ze::ToUtf8(utilita_.InfoSOVersione());
  const std::string head = std::string(u.sysname) + " ";
  ASSERT_EQ(text.rfind(head, 0), 0u) << text;
  // Then major.minor.build, a blank and the kernel's build description.
  const std::string rest = text.substr(head.size());
  const std::size_t blank = rest.find(' ');
  ASSERT_NE(blank, std::string::npos) << text;
  EXPECT_EQ(std::count(rest.begin(), rest.begin() + blank, '.'), 2) << text;
  EXPECT_EQ(std::string(u.release).rfind(rest.substr(0, blank).substr(0, 1), 0), 0u) << text;
  EXPECT_EQ(rest.substr(blank + 1), u.version);
}

TEST_F(VersioniTest, SerialsAreTheVolumesIdentity) {
  struct statvfs root;
  ASSERT_EQ(statvfs("/", &root), 0);
  const auto id = static_cast<std::uint64_t>(root.f_fsid);
  const auto folded = static_cast<std::int32_t>(static_cast<std::uint32_t>(id) ^
                                                static_cast<std::uint32_t>(id >> 32));
  EXPECT_EQ(utilita_.GetSerialHD(), ze::FromUtf8(std::to_string(folded)));
  String c = u"C";
  EXPECT_EQ(utilita_.GetSerialDrive(c), utilita_.GetSerialHD());
  // A drive the store maps to a folder has that folder's volume.
  ASSERT_TRUE(utilita_.ScriviRegistroStringa(kHklm, u"SOFTWARE\\zeKalendo\\Unita", u"T:",
                                             ze::FromUtf8(folder_), Variant(true)));
  String t = u"T";
  EXPECT_FALSE(utilita_.GetSerialDrive(t).empty());
  for (const char16_t* missing : {u"Q", u"", u"C:\\", u"CD"}) {
    String letter = missing;
    EXPECT_EQ(utilita_.GetSerialDrive(letter), u"") << ze::ToUtf8(missing);
  }
}

TEST_F(VersioniTest, WriteAccessOnAWritableFolderLeavesNothing) {
  EXPECT_TRUE(Scrivibile(ze::FromUtf8("  " + folder_ + "  "), true));
  EXPECT_TRUE(fs::is_empty(folder_));
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(ze::Err().Number, 0);
}

TEST_F(VersioniTest, WriteAccessNeverEmptiesAFileOfTheTestName) {
  Write("120asd12.tmp", "someone's data");
  EXPECT_TRUE(Scrivibile(ze::FromUtf8(folder_), false));
  std::ifstream kept(folder_ + "/120asd12.tmp");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "someone's data");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(VersioniTest, WriteAccessOnAMissingFolderFails) {
  EXPECT_FALSE(Scrivibile(Path("manca"), false));
  EXPECT_TRUE(boxes_.empty());
  // The failure stays in the error record for the caller.
  EXPECT_EQ(ze::Err().Number, ze::errors::kPathNotFound);
  ze::Err().Clear();
  EXPECT_FALSE(Scrivibile(Path("manca"), true));
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].prompt, u"Errore #  76\rPath not found");
  EXPECT_EQ(boxes_[0].style, 16);
  EXPECT_EQ(boxes_[0].title, u"Errore");
  EXPECT_EQ(ze::Err().Number, 0);
}

TEST_F(VersioniTest, WriteAccessOnAReadOnlyFolderFails) {
  // A privileged process writes into any folder whatever its mode; no process creates
  // files in /sys.
  std::string readOnly = "/sys";
  if (geteuid() != 0) {
    readOnly = folder_ + "/sola_lettura";
    fs::create_directory(readOnly);
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec);
  }
  EXPECT_FALSE(Scrivibile(ze::FromUtf8(readOnly), true));
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].prompt, u"Errore #  75\rPath/File access error");
  EXPECT_EQ(ze::Err().Number, 0);
}

TEST_F(VersioniTest, FileApertoSeesAnotherProcessHoldingTheFile) {
  Write("tenuto.txt", "x");
  EXPECT_FALSE(Aperto(Path("tenuto.txt")));
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  ze::fixtures::StartGate gate;
  const std::string path = folder_ + "/tenuto.txt";
  const pid_t child = ze::fixtures::StartChild([&] {
    close(ready[0]);
    std::ifstream held(path);
    const char c = 'r';
    if (write(ready[1], &c, 1) != 1) return false;
    gate.Wait();
    return true;
  });
  close(ready[1]);
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  close(ready[0]);
  EXPECT_TRUE(Aperto(Path("tenuto.txt")));
  gate.Open();
  EXPECT_EQ(ze::fixtures::WaitChild(child), 0);
  EXPECT_FALSE(Aperto(Path("tenuto.txt")));
}

TEST_F(VersioniTest, FileApertoOfWhatIsNoPlainFile) {
  Write(".nascosto", "x");
  EXPECT_FALSE(Aperto(Path("manca.txt")));
  EXPECT_FALSE(Aperto(Path(".nascosto")));
  EXPECT_FALSE(Aperto(ze::FromUtf8(folder_)));
  EXPECT_FALSE(Aperto(u""));
  // A name the system cannot have is a failure to open.
  EXPECT_TRUE(Aperto(u"\\\\server\\share\\a.txt"));
  // Our own open handle counts, as it would keep an exclusive open out.
  Write("nostro.txt", "x");
  std::ifstream mine(folder_ + "/nostro.txt");
  EXPECT_TRUE(Aperto(Path("nostro.txt")));
}

TEST_F(VersioniTest, EliminaReadOnlyGivesTheOwnerWrite) {
  Write("ro.txt", "x");
  const std::string path = folder_ + "/ro.txt";
  chmod(path.c_str(), 0444);
  String name = Path("ro.txt");
  utilita_.EliminaReadOnly(name);
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
  // Failures are ignored.
  String missing = Path("manca.txt");
  utilita_.EliminaReadOnly(missing);
  String network = u"\\\\server\\x";
  utilita_.EliminaReadOnly(network);
}

TEST_F(VersioniTest, TheRoutinesAnswerByDispatch) {
  using namespace ze::com;
  ServerModule module;
  {
    ComPtr<IDispatch> object;
    ASSERT_EQ(UtilitaObject::Create(module, IID_IDispatch, object.PutVoid()), S_OK);
    EXCEPINFO info;
    Variant result;
    std::vector<Variant> versions{Variant(String(u"2.0.0.2")), Variant(String(u"2.0.0.10"))};
    ASSERT_EQ(TryInvokeByName(object.Get(), u"ConfrontaVersione", DISPATCH_METHOD, versions,
                              &result, &info),
              S_OK);
    EXPECT_EQ(result, Variant(std::int32_t{-1}));
    std::vector<Variant> big{Variant(String(u"40000")), Variant(String(u"1"))};
    EXPECT_EQ(
        TryInvokeByName(object.Get(), u"ConfrontaVersione", DISPATCH_METHOD, big, &result, &info),
        DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, MAKE_HRESULT(1, FACILITY_CONTROL, ze::errors::kOverflow));
    // A routine without a result gives Empty.
    Write("ro.txt", "x");
    chmod((folder_ + "/ro.txt").c_str(), 0400);
    std::vector<Variant> file{Variant(Path("ro.txt"))};
    result = Variant(std::int32_t{5});
    ASSERT_EQ(
        TryInvokeByName(object.Get(), u"EliminaReadOnly", DISPATCH_METHOD, file, &result, &info),
        S_OK);
    EXPECT_EQ(result, Variant());
    EXPECT_EQ(fs::status(folder_ + "/ro.txt").permissions() & fs::perms::owner_write,
              fs::perms::owner_write);
    // The dual interface's entry for it takes no result pointer worth giving.
    ComPtr<IzeUtilita> dual;
    ASSERT_EQ(object->QueryInterface(ids::kIidUtilita, dual.PutVoid()), S_OK);
    String name = Path("ro.txt");
    EXPECT_EQ(dual->EliminaReadOnly(&name, nullptr), S_OK);
  }
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace zekalendo
