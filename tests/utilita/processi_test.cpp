// zeUtilita's processes group: opening documents and the messages that follow, starting
// programs and waiting for them, registration of real libraries and programs into a
// store of the test's own, desktop entries read back, compressed files expanded.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <thread>

#include "frame/automation/error.h"
#include "frame/com/dispatch_client.h"
#include "frame/registry/advapi.h"
#include "frame/system/shell_execute.h"
#include "frame/ui/message_box.h"
#include "tests/fixtures/await_file.h"
#include "tests/registry/temp_dir.h"
#include "utilita/utilita_object.h"
#include "utilita/ze_utilita.h"
#include "ze_installation.h"
#include "ze_version.h"

namespace zekalendo {
namespace {

using ze::fixtures::AwaitFile;
using ze::fixtures::ReadFile;

using ze::String;
using ze::Variant;
namespace fs = std::filesystem;

// The Windows form of a native path ("C:\tmp\x").
String Windows(const std::string& native) {
  String path = u"C:" + ze::FromUtf8(native);
  for (char16_t& c : path)
    if (c == u'/') c = u'\\';
  return path;
}

// Arguments as the test program writes them back, each followed by a NUL.
std::string Nul(std::initializer_list<std::string> args) {
  std::string text;
  for (const std::string& a : args) text += a + '\0';
  return text;
}

// A native path as an argument: arguments reach the program as they are, unmapped.
String Arg(const std::string& native) {
  return ze::FromUtf8(native);
}

std::size_t OpenDescriptorCount() {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

class ProcessiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ze::ui::SetMessageBoxSink([this](const ze::ui::MessageBoxRequest& r) {
      boxes_.push_back(r);
      return ze::ui::msgbox::kOk;
    });
  }
  void TearDown() override {
    ze::ui::SetMessageBoxSink(nullptr);
    ze::system::SetShellHandler(nullptr);
    ::unsetenv("ZE_PROVA_OUT");
  }
  // The opener answers `code` and remembers what it was asked.
  void OpenerAnswers(std::intptr_t code) {
    ze::system::SetShellHandler([this, code](const ze::system::ShellRequest& r) {
      opened_.push_back(r);
      return code;
    });
  }
  bool EseguiEx(const String& file, const Variant& muto = Variant(false)) {
    std::int32_t hwnd = 77;
    String f = file;
    return utilita_.EseguiEx(hwnd, f, muto);
  }
  bool Sospensiva(String ToRun, std::optional<Variant> linea = std::nullopt) {
    return utilita_.ShellSospensiva(ToRun, std::move(linea));
  }
  // A copy of the test program under another name, in the test's folder.
  std::string CopyOfProgram(const std::string& name) {
    const std::string path = dir_.File(name);
    fs::copy_file(ZE_PROCESSO_PROVA, path, fs::copy_options::overwrite_existing);
    ::chmod(path.c_str(), 0755);
    return path;
  }
  void PutAppPath(const String& name, const String& command) {
    ASSERT_TRUE(utilita_.ScriviRegistroStringa(
        static_cast<std::int32_t>(0x80000002),
        u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + name, u"", command,
        Variant(true)));
  }

  ze::testing::TempDir dir_;
  ze::testing::DefaultStoreAt store_{dir_.File("registro.db")};
  zeUtilita utilita_;
  std::vector<ze::ui::MessageBoxRequest> boxes_;
  std::vector<ze::system::ShellRequest> opened_;
};

// --- EseguiEx and the opener's pages ---

TEST_F(ProcessiTest, EseguiExNamesTheFileAndTheReason) {
  const struct {
    std::intptr_t code;
    const char16_t* message;
  } cases[] = {
      {2, u"C:\\dati\\x.doc: file non trovato!"},
      {31, u"C:\\dati\\x.doc: nessun programma associato a questo tipo di file!"},
      {5, u"C:\\dati\\x.doc: accesso negato!"},
      {0, u"C:\\dati\\x.doc: accesso negato!"},
      {32, u"C:\\dati\\x.doc: accesso negato!"},
  };
  for (const auto& c : cases) {
    boxes_.clear();
    OpenerAnswers(c.code);
    EXPECT_FALSE(EseguiEx(u"C:\\dati\\x.doc")) << c.code;
    ASSERT_EQ(boxes_.size(), 1u) << c.code;
    EXPECT_EQ(boxes_[0].prompt, c.message);
    EXPECT_EQ(boxes_[0].style, 16);
    EXPECT_EQ(boxes_[0].title, u"Errore");
  }
  boxes_.clear();
  OpenerAnswers(33);
  EXPECT_TRUE(EseguiEx(u"C:\\dati\\x.doc"));
  EXPECT_TRUE(boxes_.empty());
  // The document opens from the library's drive root, in a normal window, for hwnd.
  ASSERT_FALSE(opened_.empty());
  EXPECT_EQ(opened_.back().file, u"C:\\dati\\x.doc");
  EXPECT_EQ(opened_.back().directory, u"C:\\");
  EXPECT_EQ(opened_.back().showCommand, 1);
  EXPECT_EQ(opened_.back().hwnd, 77);
}

TEST_F(ProcessiTest, OnlyTrueSilencesEseguiEx) {
  OpenerAnswers(2);
  const struct {
    const char* name;
    Variant muto;
    std::size_t boxes;
  } cases[] = {
      {"True", Variant(true), 0},
      {"-1", Variant(std::int32_t{-1}), 0},
      {"\"-1\"", Variant(u"-1"), 0},
      {"False", Variant(false), 1},
      {"1", Variant(std::int16_t{1}), 1},
      {"Empty", Variant(), 1},
      // A muto that is no number fails inside the routine: False, and no box.
      {"Null", Variant::Null(), 0},
      {"text", Variant(u"zitto"), 0},
  };
  for (const auto& c : cases) {
    boxes_.clear();
    ze::Err().Clear();
    EXPECT_FALSE(EseguiEx(u"x.doc", c.muto)) << c.name;
    EXPECT_EQ(boxes_.size(), c.boxes) << c.name;
    EXPECT_EQ(ze::Err().Number, 0) << c.name;
  }
}

// Through the real opener: a missing file is told before anything is started.
TEST_F(ProcessiTest, EseguiExOnAMissingFileWithTheDesktopOpener) {
  const String missing = Windows(dir_.File("assente.pdf"));
  EXPECT_FALSE(EseguiEx(missing));
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].prompt, missing + u": file non trovato!");
  EXPECT_FALSE(EseguiEx(missing, Variant(true)));
  EXPECT_EQ(boxes_.size(), 1u);
}

TEST_F(ProcessiTest, HomePageGoWebAndEMailOpenTheirTargetsSilently) {
  OpenerAnswers(31);
  utilita_.HomePage(5);
  utilita_.GoWeb(6, u"https://esempio.example/pagina");
  utilita_.EMail(7);
  ASSERT_EQ(opened_.size(), 3u);
  EXPECT_EQ(opened_[0].file, ZE_MAKER_WEB_ADDRESS);
  EXPECT_EQ(opened_[1].file, u"https://esempio.example/pagina");
  const std::string version = std::to_string(ZE_COMPONENT_VERSION_MAJOR) + "." +
                              std::to_string(ZE_COMPONENT_VERSION_MINOR) + "." +
                              std::to_string(ZE_COMPONENT_VERSION_REVISION);
  EXPECT_EQ(opened_[2].file, String(u"Mailto:") + ZE_SUPPORT_MAIL + u"?subject=" + ZE_PRODUCT_NAME +
                                 u"%20" + ze::FromUtf8(version));
  for (const auto& r : opened_) EXPECT_EQ(r.directory, u"C:\\");
  EXPECT_EQ(opened_[2].hwnd, 7);
  EXPECT_TRUE(boxes_.empty());
}

// --- StartApplicazione ---

TEST_F(ProcessiTest, StartApplicazioneWithoutAnEntryTellsTheUser) {
  String name = u"nessuna.exe";
  EXPECT_FALSE(utilita_.StartApplicazione(name));
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].prompt, u"nessuna.exe: Applicazione non trovata.");
  EXPECT_EQ(boxes_[0].style, 48);
  EXPECT_EQ(boxes_[0].title, u"Errore");
}

TEST_F(ProcessiTest, StartApplicazioneStartsTheEntryWithoutWaiting) {
  const std::string out = dir_.File("avviato");
  PutAppPath(u"prova.exe", Windows(ZE_PROCESSO_PROVA) + u" argv " + Arg(out) + u" \"a b\"");
  String name = u"PROVA.EXE";  // key names ignore case
  EXPECT_TRUE(utilita_.StartApplicazione(name));
  EXPECT_EQ(AwaitFile(out), Nul({"a b"}));
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(ProcessiTest, StartApplicazioneTakesAnUnquotedPathWithBlanksWhole) {
  fs::create_directories(dir_.File("Program Files/Prova"));
  const std::string program = CopyOfProgram("Program Files/Prova/prova app");
  const std::string out = dir_.File("avviato");
  ::setenv("ZE_PROVA_OUT", out.c_str(), 1);
  PutAppPath(u"prova app.exe", Windows(program));
  String name = u"prova app.exe";
  EXPECT_TRUE(utilita_.StartApplicazione(name));
  EXPECT_EQ(AwaitFile(out), "avviato");
}

TEST_F(ProcessiTest, StartApplicazioneOfAMissingProgramFailsSilently) {
  PutAppPath(u"sparito.exe", Windows(dir_.File("sparito")));
  String name = u"sparito.exe";
  EXPECT_FALSE(utilita_.StartApplicazione(name));
  EXPECT_TRUE(boxes_.empty());
}

// --- ShellSospensiva ---

TEST_F(ProcessiTest, ShellSospensivaReturnsOnlyAfterTheProgramEnded) {
  const std::string out = dir_.File("dormito");
  // The program writes its file only after sleeping: it is there when the call returns.
  EXPECT_TRUE(Sospensiva(Windows(ZE_PROCESSO_PROVA), Variant(u"dormi 300 " + Arg(out))));
  EXPECT_EQ(ReadFile(out), "fine");
}

TEST_F(ProcessiTest, ShellSospensivaSplitsWithTheWindowsRules) {
  const std::string out = dir_.File("argv");
  // A shell would give  a\b  c"d  e f  g"h i.
  const String arguments = u"argv " + Arg(out) + u" \"a\\\\b\" c\\\"d 'e f' \"g\"\"h i\" $HOME";
  const std::string expected = Nul({"a\\\\b", "c\"d", "'e", "f'", "g\"h i", "$HOME"});
  EXPECT_TRUE(Sospensiva(ze::FromUtf8(ZE_PROCESSO_PROVA), Variant(arguments)));
  EXPECT_EQ(ReadFile(out), expected);
  // The same line whole in ToRun, and a COMMANDLINE that is a number.
  fs::remove(out);
  EXPECT_TRUE(Sospensiva(ze::FromUtf8(ZE_PROCESSO_PROVA) + u" " + arguments));
  EXPECT_EQ(ReadFile(out), expected);
  fs::remove(out);
  EXPECT_TRUE(
      Sospensiva(ze::FromUtf8(ZE_PROCESSO_PROVA) + u" argv " + Arg(out), Variant(std::int16_t{5})));
  EXPECT_EQ(ReadFile(out), Nul({"5"}));
}

TEST_F(ProcessiTest, ShellSospensivaOnAMissingProgramFailsAtOnce) {
  EXPECT_FALSE(Sospensiva(Windows(dir_.File("assente.exe")), Variant(u"/x")));
  EXPECT_FALSE(Sospensiva(u"programma-che-non-esiste-affatto"));
  EXPECT_FALSE(Sospensiva(u""));
  EXPECT_FALSE(Sospensiva(u"   "));
  // A folder is no program.
  EXPECT_FALSE(Sospensiva(Windows(dir_.path())));
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(ProcessiTest, AStartedProgramInheritsNoDescriptorOfTheLibrary) {
  // The store is open, and a descriptor without close-on-exec besides it.
  String testo;
  utilita_.LeggiRegistro(static_cast<std::int32_t>(0x80000002), u"SOFTWARE", u"x", testo);
  const int leaky = ::open("/dev/null", O_RDONLY);
  const std::string out = dir_.File("fd");
  EXPECT_TRUE(Sospensiva(ze::FromUtf8(ZE_PROCESSO_PROVA), Variant(u"fd " + Arg(out))));
  EXPECT_EQ(ReadFile(out), "0 1 2");
  ::close(leaky);
}

// --- RegistraServer and DeRegistraServer ---

bool ProgIdRegistered() {
  using namespace ze::registry;
  HKEY key = 0;
  if (RegOpenKeyEx(HKEY_CLASSES_ROOT, u"zeKalendo.Kalendo\\CLSID", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

TEST_F(ProcessiTest, RegistraServerRunsTheComponentLibrarysRegistration) {
  fs::copy_file(ZE_KALENDO_LIBRARY, dir_.File("a.ocx"));
  String file = Windows(dir_.File("a.ocx"));  // a lower-case extension matches
  ASSERT_FALSE(ProgIdRegistered());
  EXPECT_TRUE(utilita_.RegistraServer(file));
  EXPECT_TRUE(ProgIdRegistered());
  EXPECT_TRUE(utilita_.DeRegistraServer(file));
  EXPECT_FALSE(ProgIdRegistered());
}

TEST_F(ProcessiTest, RegistraServerRefusesWhatItCannotRegister) {
  fs::copy_file(ZE_PLATFORM_LIBRARY, dir_.File("senza.dll"));
  std::ofstream(dir_.File("x.dat")) << "dati";
  const struct {
    const char* name;
    String file;
  } cases[] = {
      {"library without the entry point", Windows(dir_.File("senza.dll"))},
      {"unknown extension", Windows(dir_.File("x.dat"))},
      {"four characters", u".ocx"},
      {"fewer", u"a.d"},
      {"missing library", Windows(dir_.File("assente.ocx"))},
      {"relative path", u"senza.dll"},
      {"missing program", Windows(dir_.File("assente.exe"))},
      {"not a library", Windows(dir_.File("x.dat")) + u".DLL"},
  };
  std::ofstream(dir_.File("x.dat.DLL")) << "not a library";
  for (const auto& c : cases) {
    String file = c.file;
    EXPECT_FALSE(utilita_.RegistraServer(file)) << c.name;
    EXPECT_FALSE(utilita_.DeRegistraServer(file)) << c.name;
  }
  EXPECT_EQ(ReadFile(dir_.File("x.dat")), "dati");
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(ProcessiTest, AProgramRegistersWithItsSwitch) {
  const std::string program = CopyOfProgram("Server.Exe");
  const std::string out = dir_.File("switch");
  ::setenv("ZE_PROVA_OUT", out.c_str(), 1);
  String file = Windows(program);
  EXPECT_TRUE(utilita_.RegistraServer(file));
  EXPECT_EQ(ReadFile(out), "/REGSERVER");
  EXPECT_TRUE(utilita_.DeRegistraServer(file));
  EXPECT_EQ(ReadFile(out), "/UNREGSERVER");
}

// --- IsVBEnvironment ---

TEST_F(ProcessiTest, IsVBEnvironmentGoesByTheProgramsFileName) {
  EXPECT_FALSE(utilita_.IsVBEnvironment());
  const struct {
    const char* name;
    const char* expected;
  } cases[] = {
      {"vb6.exe", "1"},  {"VB6.EXE", "1"},     {"Vb5CCE.exe", "1"}, {"vb.exe", "1"},
      {"vb32.exe", "1"}, {"VB7CCE.EXE", "1"},  {"provix2", "0"},    {"vb6", "0"},
      {"xvb6.exe", "0"}, {"vb6.exe.old", "0"}, {"vb8.exe", "0"},
  };
  for (const auto& c : cases) {
    const std::string program = CopyOfProgram(c.name);
    const std::string out = dir_.File("ambiente");
    fs::remove(out);
    EXPECT_TRUE(Sospensiva(Windows(program), Variant(u"ambiente " + Arg(out)))) << c.name;
    EXPECT_EQ(ReadFile(out), c.expected) << c.name;
    fs::remove(program);
  }
}

// --- CreaCollegamento ---

// The desktop entry's keys, each value read back through the format's string escapes.
std::map<std::string, std::string> ReadDesktopEntry(const std::string& path) {
  std::map<std::string, std::string> keys;
  std::istringstream in(ReadFile(path));
  std::string line;
  std::getline(in, line);
  keys["#group"] = line;
  while (std::getline(in, line)) {
    const std::size_t eq = line.find('=');
    if (line.empty() || line[0] == '#' || eq == std::string::npos) continue;
    std::string value;
    for (std::size_t i = eq + 1; i < line.size(); ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) {
        const char e = line[++i];
        value.push_back(e == 's' ? ' ' : e == 'n' ? '\n' : e == 't' ? '\t' : e);
      } else {
        value.push_back(line[i]);
      }
    }
    keys[line.substr(0, eq)] = value;
  }
  return keys;
}

// The arguments of an Exec value: quoted ones with their backslash escapes, %% as %.
std::vector<std::string> ExecArguments(const std::string& exec) {
  std::vector<std::string> args;
  std::string current;
  bool quoted = false, open = false;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (quoted && c == '\\' && i + 1 < exec.size()) {
      current.push_back(exec[++i]);
    } else if (c == '"') {
      quoted = !quoted;
      open = true;
    } else if (c == ' ' && !quoted) {
      if (open) args.push_back(current);
      current.clear();
      open = false;
    } else if (c == '%' && i + 1 < exec.size() && exec[i + 1] == '%') {
      current.push_back('%');
      ++i;
      open = true;
    } else {
      current.push_back(c);
      open = true;
    }
  }
  if (open) args.push_back(current);
  return args;
}

TEST_F(ProcessiTest, CreaCollegamentoWritesADesktopEntryThatReadsBack) {
  const std::string target = dir_.File("pro va \"q\" 100% $x `y` 'w'.exe");
  fs::create_directories(dir_.File(" lavoro"));
  String lnk = Windows(dir_.File("Prova.desktop"));
  String file = Windows(target);
  String lavoro = Windows(dir_.File(" lavoro"));
  EXPECT_TRUE(utilita_.CreaCollegamento(lnk, file, lavoro));
  const auto keys = ReadDesktopEntry(dir_.File("Prova.desktop"));
  EXPECT_EQ(keys.at("#group"), "[Desktop Entry]");
  EXPECT_EQ(keys.at("Type"), "Application");
  EXPECT_EQ(keys.at("Name"), "Prova");
  EXPECT_EQ(ExecArguments(keys.at("Exec")), std::vector<std::string>{target});
  EXPECT_EQ(keys.at("Path"), dir_.File(" lavoro"));
  EXPECT_EQ(keys.at("Icon"), target);
  EXPECT_EQ(keys.at("X-zeKalendo-WindowStyle"), "4");
}

TEST_F(ProcessiTest, CreaCollegamentoRefusesLineBreaksAndMissingFolders) {
  const std::string entry = dir_.File("esistente.desktop");
  std::ofstream(entry) << "prima";
  const struct {
    const char* name;
    String lnk, file, lavoro;
  } cases[] = {
      {"line break in the target", Windows(entry), Windows(dir_.File("a\nExec=x")), u""},
      {"carriage return in the folder", Windows(entry), u"C:\\a.exe", u"C:\\dir\r"},
      {"line break in the name", Windows(dir_.File("a\nb.desktop")), u"C:\\a.exe", u""},
      {"missing folder", Windows(dir_.File("manca/x.desktop")), u"C:\\a.exe", u""},
      {"network name", Windows(entry), u"\\\\server\\share\\a.exe", u""},
  };
  for (auto c : cases) {
    EXPECT_FALSE(utilita_.CreaCollegamento(c.lnk, c.file, c.lavoro)) << c.name;
  }
  EXPECT_EQ(ReadFile(entry), "prima");
  EXPECT_FALSE(fs::exists(dir_.File("a\nb.desktop")));
  for (const auto& entry : fs::directory_iterator(dir_.path()))
    EXPECT_NE(entry.path().filename().string()[0], '.') << "a temporary file stayed";
}

// --- Decomprimi ---

class DecomprimiTest : public ProcessiTest {
 protected:
  // The file mscompress makes of `bytes`, or "" when it is not installed.
  std::string Compressed(const std::string& name, const std::string& bytes) {
    const std::string path = dir_.Write(name, bytes);
    if (std::system(("mscompress '" + path + "' >/dev/null 2>&1").c_str()) != 0) return "";
    return path + "_";
  }
  bool Decomprimi(const std::string& from, const std::string& to) {
    String a = Windows(from), b = Windows(to);
    return utilita_.Decomprimi(a, b);
  }
};

TEST_F(DecomprimiTest, ExpandsWhatMscompressCompressed) {
  std::mt19937 random(4);
  std::string bytes(30000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = i % 3 == 0 ? static_cast<char>(random()) : "SETUP"[i % 5];
  const std::string compressed = Compressed("SETUP.EXE", bytes);
  if (compressed.empty()) GTEST_SKIP() << "mscompress is missing (scripts/install-deps.sh)";
  ASSERT_NE(ReadFile(compressed), bytes);
  EXPECT_TRUE(Decomprimi(compressed, dir_.File("espanso.exe")));
  EXPECT_TRUE(ReadFile(dir_.File("espanso.exe")) == bytes);
}

TEST_F(DecomprimiTest, CopiesAnUncompressedFile) {
  const std::string plain = dir_.Write("piano.txt", "nessuna compressione\r\n");
  EXPECT_TRUE(Decomprimi(plain, dir_.File("copia.txt")));
  EXPECT_EQ(ReadFile(dir_.File("copia.txt")), "nessuna compressione\r\n");
}

TEST_F(DecomprimiTest, FailuresLeaveTheDestinationAsItWas) {
  const std::string header = std::string(
                                 "SZDD\x88\xf0\x27\x33"
                                 "A",
                                 9) +
                             "t";
  const struct {
    const char* name;
    std::string source;
  } cases[] = {
      {"empty file", ""},
      {"empty expansion", header + std::string("\0\0\0\0\x01\0", 6)},
      {"truncated", header + std::string("\x10\0\0\0\xff"
                                         "abc",
                                         8)},
      {"huge length", header + std::string("\xff\xff\xff\xff\xff"
                                           "abcdefgh",
                                           13)},
      {"unknown method", std::string("SZDD\x88\xf0\x27\x33"
                                     "Bt\x01\0\0\0\xffx",
                                     16)},
  };
  const std::string destination = dir_.Write("destinazione", "vecchio");
  for (const auto& c : cases) {
    const std::string source = dir_.Write("sorgente", c.source);
    EXPECT_FALSE(Decomprimi(source, destination)) << c.name;
    EXPECT_EQ(ReadFile(destination), "vecchio") << c.name;
  }
  EXPECT_FALSE(Decomprimi(dir_.File("assente"), destination));
  EXPECT_FALSE(Decomprimi(dir_.path(), destination));  // a folder is no file
  EXPECT_EQ(ReadFile(destination), "vecchio");
}

TEST_F(DecomprimiTest, AMissingDestinationFolderFailsAndLeavesNothingOpen) {
  const std::string plain = dir_.Write("piano.txt", "dati");
  const std::size_t before = OpenDescriptorCount();
  EXPECT_FALSE(Decomprimi(plain, dir_.File("manca/copia.txt")));
  EXPECT_EQ(OpenDescriptorCount(), before);
  EXPECT_FALSE(fs::exists(dir_.File("manca")));
}

// --- by dispatch, as zeprova's util reaches them ---

class ProcessiDispatchTest : public ProcessiTest {
 protected:
  void SetUp() override {
    ProcessiTest::SetUp();
    ASSERT_EQ(UtilitaObject::Create(module_, ze::com::IID_IDispatch, object_.PutVoid()),
              ze::com::S_OK);
  }
  void TearDown() override {
    object_ = nullptr;
    ProcessiTest::TearDown();
  }
  ze::com::HRESULT Call(std::u16string_view name, std::vector<Variant> args, Variant* result) {
    ze::com::EXCEPINFO info;
    return ze::com::TryInvokeByName(object_.Get(), name, ze::com::DISPATCH_METHOD, args, result,
                                    &info);
  }
  ze::com::ServerModule module_;
  ze::com::ComPtr<ze::com::IDispatch> object_;
};

TEST_F(ProcessiDispatchTest, TheRoutinesAnswerByName) {
  OpenerAnswers(2);
  Variant result;
  ASSERT_EQ(Call(u"EseguiEx", {Variant(std::int32_t{0}), Variant(u"x.doc")}, &result),
            ze::com::S_OK);
  EXPECT_EQ(result, Variant(false));
  EXPECT_EQ(boxes_.size(), 1u);  // muto left out is False
  ASSERT_EQ(Call(u"EMail", {Variant(std::int16_t{3})}, &result), ze::com::S_OK);
  ASSERT_EQ(Call(u"GoWeb", {Variant(std::int16_t{3}), Variant(u"https://a.example/")}, &result),
            ze::com::S_OK);
  ASSERT_EQ(Call(u"HomePage", {Variant(std::int16_t{3})}, &result), ze::com::S_OK);
  ASSERT_EQ(opened_.size(), 4u);
  EXPECT_EQ(opened_[2].file, u"https://a.example/");
  EXPECT_EQ(opened_[3].file, ZE_MAKER_WEB_ADDRESS);

  const std::string out = dir_.File("argv");
  ASSERT_EQ(Call(u"ShellSospensiva",
                 {Variant(ze::FromUtf8(ZE_PROCESSO_PROVA)), Variant(u"argv " + Arg(out) + u" x")},
                 &result),
            ze::com::S_OK);
  EXPECT_EQ(result, Variant(true));
  EXPECT_EQ(ReadFile(out), Nul({"x"}));
  ASSERT_EQ(Call(u"IsVBEnvironment", {}, &result), ze::com::S_OK);
  EXPECT_EQ(result, Variant(false));
  ASSERT_EQ(Call(u"RegistraServer", {Variant(u"x.dat")}, &result), ze::com::S_OK);
  EXPECT_EQ(result, Variant(false));
}

}  // namespace
}  // namespace zekalendo
