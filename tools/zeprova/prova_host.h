// ProvaHost: the test container behind zeprova.
//
// It hosts controls exactly as any host does: it creates them by ProgID or CLSID
// through the registry store, places them on its own form ("Prova"), gives each a
// site (change notices, CanPropertyChange, the ambient font, extender properties),
// sinks their events, and drives them with input on the headless ui backend. Every
// event, change notice and message box is printed as it happens.
//
// A modal form does not stop the script: while a modal loop waits for input, the
// backend asks the host for it, and the host runs the script's next command there.
#pragma once

#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "frame/com/com_ptr.h"
#include "frame/com/dispatch.h"
#include "frame/com/event_sink.h"
#include "frame/host/ole_control.h"
#include "frame/system/dynamic_library.h"
#include "frame/ui/form.h"
#include "frame/ui/headless_backend.h"
#include "tools/zeprova/script_line.h"

namespace zeprova {

// A command line that cannot be understood: a word, a literal or a path that is not
// written as the language writes it. A well written line that names something not
// there (a control, a form, an inner control) or a control name already taken fails
// with an automation error instead, and the script goes on.
struct ParseError {
  std::string message;
};

class ProvaHost {
 public:
  ProvaHost(std::ostream& out, std::ostream& err);
  ~ProvaHost();

  // Runs the script; the exit status: 0 after the last command, 1 at a line that
  // cannot be parsed.
  int Run(const std::vector<ze::String>& lines);

 private:
  struct Hosted;

  bool RunNextLine();
  void Execute(const ScriptLine& line);
  void Print(const std::string& text);
  void PrintError(std::int32_t number, const ze::String& description);

  // Commands.
  void Register(const ScriptLine& line, bool unregister);
  void Create(const ScriptLine& line, bool fromBag);
  void Save(const ScriptLine& line);
  void Set(const ScriptLine& line);
  void Get(const ScriptLine& line);
  void Call(const ScriptLine& line);
  void Inspect(const ScriptLine& line);
  void TypeInfo(const ScriptLine& line);
  void Util(const ScriptLine& line);
  ze::com::IDispatch& Utilita();
  void Windows();
  void PressKey(const ze::String& name);

  Hosted& Control(const ze::String& name);
  ze::ui::Control& Resolve(const ze::String& path);
  ze::Variant ParseValue(const ze::String& text) const;
  std::string Arity(const ScriptLine& line, std::size_t min, std::size_t max) const;

  std::ostream& out_;
  std::ostream& err_;
  ze::ui::HeadlessBackend backend_;
  std::shared_ptr<ze::ui::Form> form_;
  std::vector<std::unique_ptr<Hosted>> controls_;
  std::set<ze::String> refused_;
  std::vector<ze::String> lines_;
  std::size_t next_ = 0;
  bool failed_ = false;
  // The library the script registered last, where `util` finds the utility class, and
  // the script's zeUtilita (released before the library).
  std::string library_path_;
  ze::system::DynamicLibrary library_;
  ze::com::ComPtr<ze::com::IDispatch> utilita_;
};

}  // namespace zeprova
