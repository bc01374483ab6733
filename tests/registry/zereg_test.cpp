// zereg run as a program, with ZE_REGISTRO pointing at a store of the test's own:
// query / add / delete / export / import, the prompts, bad command lines, a
// malformed file that imports nothing, and a store that cannot be read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "frame/registry/reg_file.h"
#include "tests/registry/temp_dir.h"

namespace ze::registry {
namespace {

struct Result {
  int rc = -1;
  std::string out, err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ZeregTest : public ::testing::Test {
 protected:
  // Runs zereg with `args`, feeding `input` to its standard input; `in_child` runs in
  // the child just before zereg starts (under the pid zereg will have).
  Result Run(std::vector<std::string> args, const std::string& input = "",
             const std::string& store = "", const std::function<void()>& in_child = {}) {
    const std::string in = dir.Write("stdin", input);
    const std::string out = dir.File("stdout"), err = dir.File("stderr");
    const std::string registro = store.empty() ? this->store : store;
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::setenv("ZE_REGISTRO", registro.c_str(), 1);
      const int fd_in = ::open(in.c_str(), O_RDONLY);
      const int fd_out = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int fd_err = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd_in < 0 || fd_out < 0 || fd_err < 0) ::_exit(126);
      ::dup2(fd_in, 0);
      ::dup2(fd_out, 1);
      ::dup2(fd_err, 2);
      if (in_child) in_child();
      std::vector<char*> argv{const_cast<char*>(ZE_ZEREG)};
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(ZE_ZEREG, argv.data());
      ::_exit(127);
    }
    Result r;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
      r.rc = WEXITSTATUS(status);
    r.out = Slurp(out);
    r.err = Slurp(err);
    return r;
  }
  void Ok(std::vector<std::string> args) {
    const Result r = Run(args);
    ASSERT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(r.out, "The operation completed successfully.\n");
  }

  testing::TempDir dir;
  const std::string store = dir.File("registro.db");
};

TEST_F(ZeregTest, AddQueryDelete) {
  Ok({"add", "HKCU\\Software\\Prova", "/v", "Nome", "/d", "ciao mondo"});
  Ok({"add", "HKEY_CURRENT_USER\\Software\\Prova", "/v", "Conta", "/t", "REG_DWORD", "/d", "0x1F"});
  Ok({"add", "hkcu\\software\\prova", "/v", "Grande", "/t", "reg_qword", "/d", "4294967296"});
  Ok({"add", "HKCU\\Software\\Prova", "/v", "Lista", "/t", "REG_MULTI_SZ", "/d", "uno|due", "/s",
      "|"});
  Ok({"add", "HKCU\\Software\\Prova", "/v", "Dati", "/t", "REG_BINARY", "/d", "00ff10"});
  Ok({"add", "HKCU\\Software\\Prova", "/v", "Percorso", "/t", "REG_EXPAND_SZ", "/d", "%HOME%\\x"});
  Ok({"add", "HKCU\\Software\\Prova\\Figlio", "/ve", "/d", "radice"});
  Ok({"add", "HKCU\\Software\\Prova\\Vuoto"});

  Result r = Run({"query", "HKCU\\SOFTWARE\\PROVA"});
  ASSERT_EQ(r.rc, 0) << r.err;
  EXPECT_EQ(r.out,
            "\nHKEY_CURRENT_USER\\Software\\Prova\n"
            "    Nome    REG_SZ    ciao mondo\n"
            "    Conta    REG_DWORD    0x1f\n"
            "    Grande    REG_QWORD    0x100000000\n"
            "    Lista    REG_MULTI_SZ    uno\\0due\n"
            "    Dati    REG_BINARY    00FF10\n"
            "    Percorso    REG_EXPAND_SZ    %HOME%\\x\n"
            "\n"
            "HKEY_CURRENT_USER\\Software\\Prova\\Figlio\n"
            "HKEY_CURRENT_USER\\Software\\Prova\\Vuoto\n");

  r = Run({"query", "HKCU\\Software\\Prova", "/v", "conta"});
  ASSERT_EQ(r.rc, 0);
  EXPECT_EQ(r.out, "\nHKEY_CURRENT_USER\\Software\\Prova\n    Conta    REG_DWORD    0x1f\n");
  r = Run({"query", "HKCU\\Software\\Prova\\Figlio", "/ve"});
  EXPECT_EQ(r.out,
            "\nHKEY_CURRENT_USER\\Software\\Prova\\Figlio\n    (Default)    REG_SZ    radice\n");
  r = Run({"query", "HKCU\\Software\\Prova\\Vuoto", "/ve"});
  EXPECT_EQ(
      r.out,
      "\nHKEY_CURRENT_USER\\Software\\Prova\\Vuoto\n    (Default)    REG_SZ    (value not set)\n");
  r = Run({"query", "HKCU\\Software\\Prova", "/s"});
  ASSERT_EQ(r.rc, 0);
  EXPECT_NE(
      r.out.find(
          "\nHKEY_CURRENT_USER\\Software\\Prova\\Figlio\n    (Default)    REG_SZ    radice\n"),
      std::string::npos);
  EXPECT_NE(r.out.find("End of search: 3 match(es) found.\n"), std::string::npos);
  r = Run({"query", "HKCU\\Software\\Prova", "/v", "Nome", "/s"});
  EXPECT_NE(r.out.find("End of search: 1 match(es) found.\n"), std::string::npos);

  Ok({"delete", "HKCU\\Software\\Prova", "/v", "NOME", "/f"});
  r = Run({"query", "HKCU\\Software\\Prova", "/v", "Nome"});
  EXPECT_EQ(r.rc, 1);
  EXPECT_EQ(r.err, "ERROR: The system was unable to find the specified registry key or value.\n");
  Ok({"delete", "HKCU\\Software\\Prova", "/va", "/f"});
  r = Run({"query", "HKCU\\Software\\Prova"});
  EXPECT_EQ(r.out,
            "\nHKEY_CURRENT_USER\\Software\\Prova\n"
            "HKEY_CURRENT_USER\\Software\\Prova\\Figlio\n"
            "HKEY_CURRENT_USER\\Software\\Prova\\Vuoto\n");
  Ok({"delete", "HKCU\\Software\\Prova", "/f"});
  r = Run({"query", "HKCU\\Software\\Prova"});
  EXPECT_EQ(r.rc, 1);
  r = Run({"delete", "HKCU\\Software\\Prova", "/f"});
  EXPECT_EQ(r.rc, 1);
  EXPECT_NE(r.err.find("unable to find"), std::string::npos);
}

TEST_F(ZeregTest, AsksBeforeOverwritingOrDeleting) {
  Ok({"add", "HKCU\\A", "/v", "x", "/d", "primo"});
  Result r = Run({"add", "HKCU\\A", "/v", "X", "/d", "secondo"}, "no\n");
  EXPECT_EQ(r.rc, 1);
  EXPECT_EQ(r.out, "Value X exists, overwrite (Yes/No)? ");
  EXPECT_EQ(r.err, "The operation was cancelled.\n");
  r = Run({"add", "HKCU\\A", "/v", "x", "/d", "secondo"});  // no answer at all
  EXPECT_EQ(r.rc, 1);
  EXPECT_NE(Run({"query", "HKCU\\A", "/v", "x"}).out.find("primo"), std::string::npos);
  r = Run({"add", "HKCU\\A", "/v", "x", "/d", "secondo"}, "Yes\n");
  EXPECT_EQ(r.rc, 0);
  EXPECT_NE(Run({"query", "HKCU\\A", "/v", "x"}).out.find("secondo"), std::string::npos);

  r = Run({"delete", "HKCU\\A"}, "n\n");
  EXPECT_EQ(r.rc, 1);
  EXPECT_EQ(r.out, "Permanently delete the registry key HKEY_CURRENT_USER\\A (Yes/No)? ");
  EXPECT_EQ(Run({"query", "HKCU\\A"}).rc, 0);
  r = Run({"delete", "HKCU\\A", "/v", "x"}, "y\n");
  EXPECT_EQ(r.rc, 0);

  const std::string file = dir.Write("esistente.reg", "vecchio");
  r = Run({"export", "HKCU\\A", file}, "no\n");
  EXPECT_EQ(r.rc, 1);
  EXPECT_EQ(Slurp(file), "vecchio");
  EXPECT_EQ(Run({"export", "HKCU\\A", file, "/y"}).rc, 0);
  EXPECT_EQ(Slurp(file).substr(0, 2), "\xFF\xFE");
}

TEST_F(ZeregTest, ExportAndImportRoundTrip) {
  Ok({"add", "HKLM\\Software\\Giro", "/v", "Testo", "/d", "\"virgolette\" e \\ barre \xC3\xA8"});
  Ok({"add", "HKLM\\Software\\Giro", "/ve", "/d", "predefinito"});
  Ok({"add", "HKLM\\Software\\Giro\\Sotto", "/v", "N", "/t", "REG_DWORD", "/d", "4294967295"});
  Ok({"add", "HKLM\\Software\\Giro\\Sotto", "/v", "Lungo", "/t", "REG_BINARY", "/d",
      std::string(200, 'a')});
  Ok({"add", "HKLM\\Software\\Giro\\Sotto\\Vuota"});
  {
    // Values that only the store's own interface can write.
    auto s = Store::Open(store);
    KeyId key;
    ASSERT_EQ(s->OpenKey(Store::RootKey(Root::LocalMachine), u"Software\\Giro", &key),
              ERROR_SUCCESS);
    ASSERT_EQ(s->SetValue(key, u"Storto", REG_SZ, Bytes{'a', 0, 'b'}), ERROR_SUCCESS);
    ASSERT_EQ(s->SetValue(key, u"Tipo", 0x4242, Bytes{1, 2}), ERROR_SUCCESS);
  }
  const std::string first = dir.File("primo.reg"), second = dir.File("secondo.reg");
  Ok({"export", "HKLM\\software\\giro", first});
  Ok({"delete", "HKLM\\Software\\Giro", "/f"});
  EXPECT_EQ(Run({"query", "HKLM\\Software\\Giro"}).rc, 1);
  Ok({"import", first});
  Ok({"export", "HKLM\\Software\\Giro", second});
  EXPECT_EQ(Slurp(first), Slurp(second));
  const RegFileParse parsed = ParseRegFile(Slurp(first));
  ASSERT_TRUE(parsed.ok());
  EXPECT_EQ(parsed.changes.front().path, u"Software\\Giro") << "the stored case";
  auto s = Store::Open(store);
  KeyId key;
  Value v;
  ASSERT_EQ(s->OpenKey(Store::RootKey(Root::LocalMachine), u"Software\\Giro", &key), ERROR_SUCCESS);
  ASSERT_EQ(s->QueryValue(key, u"Storto", &v), ERROR_SUCCESS);
  EXPECT_EQ(v, (Value{REG_SZ, {'a', 0, 'b'}}));
  // A UTF-8 file written by hand imports too.
  const std::string hand = dir.Write(
      "mano.reg",
      "Windows Registry Editor Version 5.00\n\n[HKCU\\Mano]\n\"Caff\xC3\xA8\"=\"s\xC3\xAC\"\n"
      "\"Dati\"=hex:01,\\\n  02\n[-HKLM\\Software\\Giro\\Sotto]\n");
  Ok({"import", hand});
  EXPECT_EQ(Run({"query", "HKCU\\Mano"}).out,
            "\nHKEY_CURRENT_USER\\Mano\n    Caff\xC3\xA8    REG_SZ    s\xC3\xAC\n"
            "    Dati    REG_BINARY    0102\n\n");
  EXPECT_EQ(Run({"query", "HKLM\\Software\\Giro\\Sotto"}).rc, 1);
}

// The export replaces the file whole: a link planted where the temporary file would go
// is not followed, and a private file stays private.
TEST_F(ZeregTest, ExportReplacesTheFileSafely) {
  Ok({"add", "HKCU\\Software\\Segreto", "/v", "Chiave", "/d", "123"});
  const std::string file = dir.Write("uscita.reg", "vecchio");
  ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
  const std::string victim = dir.Write("vittima", "intatta");
  const Result r = Run({"export", "HKCU\\Software", file, "/y"}, "", "", [&] {
    const std::string planted = file + ".zereg-" + std::to_string(::getpid());
    if (::symlink(victim.c_str(), planted.c_str()) != 0) ::_exit(125);
  });
  ASSERT_EQ(r.rc, 0) << r.err;
  EXPECT_EQ(Slurp(victim), "intatta");
  EXPECT_FALSE(std::filesystem::is_symlink(file));
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_TRUE(ParseRegFile(Slurp(file)).ok());

  // A file that cannot be written is an error that names it, and nothing is left.
  const Result missing = Run({"export", "HKCU\\Software", dir.File("manca/x.reg")});
  EXPECT_EQ(missing.rc, 1);
  EXPECT_NE(missing.err.find("manca/x.reg"), std::string::npos) << missing.err;
}

// A query reads: it never lays out a store that is not there.
TEST_F(ZeregTest, AQueryCreatesNothing) {
  const std::string absent = dir.File("nuova/registro.db");
  const Result r = Run({"query", "HKCU\\Software", "/s"}, "", absent);
  EXPECT_EQ(r.rc, 1);
  EXPECT_NE(r.err.find("unable to find"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir.File("nuova")));
}

// Trees deeper than the stack and stores whose parents form a cycle: every command
// ends, with the listing or a clear error. The child gets a small stack and an
// alarm, so a walk that recursed or went round would die instead of passing.
TEST_F(ZeregTest, DeepAndCyclicTreesEnd) {
  auto limited = [] {
    const rlimit stack{512 * 1024, 512 * 1024};
    ::setrlimit(RLIMIT_STACK, &stack);
    ::alarm(60);
  };
  String deep = u"Software";
  for (std::size_t i = 0; i + 1 < kMaxKeyDepth; ++i) deep += u"\\k";
  const std::string file = dir.Write(
      "profondo.reg", ToUtf8(String(kRegFileHeader) + u"\r\n\r\n[HKCU\\" + deep + u"]\r\n"));
  Ok({"import", file});
  const Result listed = Run({"query", "HKCU\\Software", "/s"}, "", "", limited);
  EXPECT_EQ(listed.rc, 0) << listed.err;
  EXPECT_NE(listed.out.find("End of search: 512 match(es) found."), std::string::npos);
  const Result exported =
      Run({"export", "HKCU\\Software", dir.File("uscita.reg"), "/y"}, "", "", limited);
  EXPECT_EQ(exported.rc, 0) << exported.err;

  // HKCU made a child of a key below it.
  {
    auto s = Store::Open(store);
    KeyId b;
    ASSERT_EQ(s->CreateKey(Store::RootKey(Root::CurrentUser), u"A\\B", &b), ERROR_SUCCESS);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(store.c_str(), &db), SQLITE_OK);
    const std::string sql = "UPDATE keys SET parent = " + std::to_string(b.value) + " WHERE id = 2";
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"query", "HKCU", "/s"},
           {"export", "HKCU", dir.File("ciclo.reg"), "/y"},
           {"delete", "HKCU\\A", "/f"},
       }) {
    const Result r = Run(args, "", "", limited);
    EXPECT_EQ(r.rc, 1) << args[0] << ": " << r.err;
    EXPECT_NE(r.err.find("damaged"), std::string::npos) << args[0] << ": " << r.err;
  }
  EXPECT_EQ(Run({"query", "HKCU\\A\\B"}).rc, 0) << "nothing was deleted";
}

// Bytes that are not UTF-8 are refused with their line; nothing is imported.
TEST_F(ZeregTest, AnImportOfInvalidTextNamesTheLine) {
  const std::string file = dir.Write("storto.reg",
                                     "Windows Registry Editor Version 5.00\r\n\r\n"
                                     "[HKCU\\Buono]\r\n\"a\"=\"1\"\r\n[HKCU\\Cattivo]\r\n"
                                     "\"Nom\xE8\"=\"x\"\r\n");
  const Result r = Run({"import", file});
  EXPECT_EQ(r.rc, 1);
  EXPECT_NE(r.err.find("line 6"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("UTF-8"), std::string::npos) << r.err;
  EXPECT_EQ(Run({"query", "HKCU\\Buono"}).rc, 1) << "nothing imported";
}

TEST_F(ZeregTest, AMalformedFileImportsNothing) {
  Ok({"add", "HKCU\\Tenere", "/v", "a", "/d", "1"});
  const std::string before = Run({"query", "HKCU", "/s"}).out;
  const std::string file = dir.Write("rotto.reg",
                                     "Windows Registry Editor Version 5.00\r\n\r\n"
                                     "[HKCU\\Nuova]\r\n"
                                     "\"a\"=\"b\"\r\n"
                                     "[-HKCU\\Tenere]\r\n"
                                     "\"c\"=dword:xyz\r\n");
  const Result r = Run({"import", file});
  EXPECT_EQ(r.rc, 1);
  EXPECT_NE(r.err.find("rotto.reg, line 6"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Nothing was imported"), std::string::npos);
  EXPECT_EQ(Run({"query", "HKCU", "/s"}).out, before);
  const Result missing = Run({"import", dir.File("assente.reg")});
  EXPECT_EQ(missing.rc, 1);
  EXPECT_NE(missing.err.find("assente.reg"), std::string::npos);
}

TEST_F(ZeregTest, BadCommandLines) {
  Ok({"add", "HKCU\\A", "/v", "n", "/d", "1"});
  const struct {
    const char* name;
    std::vector<std::string> args;
  } cases[] = {
      {"nothing", {}},
      {"unknown operation", {"copy", "HKCU\\A"}},
      {"no key", {"query"}},
      {"two keys", {"query", "HKCU\\A", "HKCU\\B"}},
      {"unknown root", {"query", "HKXX\\A"}},
      {"no root", {"query", "Software\\A"}},
      {"empty component", {"add", "HKCU\\A\\\\B"}},
      {"unknown type", {"add", "HKCU\\A", "/v", "x", "/t", "REG_TEXT", "/d", "1"}},
      {"type not writable here", {"add", "HKCU\\A", "/v", "x", "/t", "REG_LINK", "/d", "1"}},
      {"dword not a number", {"add", "HKCU\\A", "/v", "x", "/t", "REG_DWORD", "/d", "dieci"}},
      {"dword too large", {"add", "HKCU\\A", "/v", "x", "/t", "REG_DWORD", "/d", "4294967296"}},
      {"negative dword", {"add", "HKCU\\A", "/v", "x", "/t", "REG_DWORD", "/d", "-1"}},
      {"odd hex", {"add", "HKCU\\A", "/v", "x", "/t", "REG_BINARY", "/d", "abc"}},
      {"not hex", {"add", "HKCU\\A", "/v", "x", "/t", "REG_BINARY", "/d", "zz"}},
      {"empty list item", {"add", "HKCU\\A", "/v", "x", "/t", "REG_MULTI_SZ", "/d", "a\\0\\0b"}},
      {"separator without list", {"add", "HKCU\\A", "/v", "x", "/s", ",", "/d", "a"}},
      {"/v and /ve", {"query", "HKCU\\A", "/v", "n", "/ve"}},
      {"switch without value", {"add", "HKCU\\A", "/v"}},
      {"switch twice", {"add", "HKCU\\A", "/f", "/f"}},
      {"export without file", {"export", "HKCU\\A"}},
      {"export of a missing key", {"export", "HKCU\\Nessuna", dir.File("x.reg")}},
      {"delete of a root", {"delete", "HKCU", "/f"}},
      {"two picks", {"delete", "HKCU\\A", "/va", "/ve", "/f"}},
  };
  for (const auto& c : cases) {
    const Result r = Run(c.args);
    EXPECT_EQ(r.rc, 1) << c.name;
    EXPECT_EQ(r.err.rfind("ERROR", 0), 0u) << c.name << ": " << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("x.reg")));
  EXPECT_NE(Run({"query", "HKCU\\A", "/v", "n"}).out.find("REG_SZ    1"), std::string::npos)
      << "nothing changed";
  const Result help = Run({"/?"});
  EXPECT_EQ(help.rc, 0);
  EXPECT_NE(help.out.find("zereg query"), std::string::npos);
}

// The hint after a syntax error names "ZEREG OPERATION /?": each operation explains
// itself alone, wherever the /? stands, and touches no store while doing so.
TEST_F(ZeregTest, EachOperationExplainsItself) {
  const std::string noStore = dir.File("no/such/folder/registro.db");
  const std::vector<std::string> ops = {"query", "add", "delete", "export", "import"};
  for (const std::string& op : ops) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{op, "/?"}, {op, "HKCU\\A", "/?"}, {op, "--help"}}) {
      const Result r = Run(args, "", noStore);
      EXPECT_EQ(r.rc, 0) << op << ": " << r.err;
      EXPECT_EQ(r.out.rfind("zereg " + op, 0), 0u) << op << ": " << r.out;
      for (const std::string& other : ops) {
        if (other != op) EXPECT_EQ(r.out.find("zereg " + other), std::string::npos) << op;
      }
    }
  }
  const Result version = Run({"--version"}, "", noStore);
  EXPECT_EQ(version.rc, 0);
  EXPECT_EQ(version.out.rfind("zereg (zeKalendo) ", 0), 0u) << version.out;
  EXPECT_FALSE(std::filesystem::exists(noStore));
}

TEST_F(ZeregTest, AStoreThatIsNotADatabase) {
  const std::string garbage(4096, '\x01');
  const std::string broken = dir.Write("rotto.db", garbage);
  for (const std::vector<std::string>& args : {std::vector<std::string>{"query", "HKCU\\A"},
                                               {"add", "HKCU\\A", "/v", "x", "/d", "1", "/f"},
                                               {"delete", "HKCU\\A", "/f"},
                                               {"export", "HKCU", dir.File("y.reg")}}) {
    const Result r = Run(args, "", broken);
    EXPECT_EQ(r.rc, 1) << args[0];
    EXPECT_NE(r.err.find("The configuration registry database is corrupt."), std::string::npos)
        << args[0] << ": " << r.err;
    EXPECT_NE(r.err.find("rotto.db"), std::string::npos) << args[0];
  }
  const std::string file =
      dir.Write("buono.reg", "Windows Registry Editor Version 5.00\r\n[HKCU\\A]\r\n");
  EXPECT_EQ(Run({"import", file}, "", broken).rc, 1);
  EXPECT_EQ(Slurp(broken), garbage);
}

}  // namespace
}  // namespace ze::registry
