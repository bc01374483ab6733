// DataControl: the data control of provix2's form.
//
// A bar across the bottom of a form with first / previous / next / last buttons and a
// caption. It opens a database file and a record source, ties each bound control's
// bindable property to a field through a container data binding (one per bound
// control), shows the current record in them, and writes a changed record back when the
// user moves to another record or the form closes. A move past the last or before the
// first record stays on that record.
//
// Nothing typed is lost silently: a write that fails is reported in a message box and
// the move does not happen, so the record stays on screen, still changed. Several
// people may edit the same record: when someone else changed or deleted it since it
// was shown, the save is refused and the user is asked, with both versions in front of
// them, whether to reload the record (their edit goes), to overwrite it (the other
// save goes) or to go back to the form with the edit kept and decide later. A database
// that cannot be opened is reported the same way; the bar is then disabled and the
// bound controls stay empty. A date typed while there is no record to hold it (an
// empty table, a database that could not be opened) is held by its binding and cannot
// be saved: saving reports that instead of passing in silence.
//
// Like the data controls users know, the bar never takes the focus: a click on its
// buttons leaves the focus in the field being edited, and Tab passes it by.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "frame/container/data_binding.h"
#include "frame/container/memory_recordset.h"
#include "frame/ui/command_button.h"
#include "frame/ui/label.h"
#include "frame/ui/user_control.h"
#include "sample/data/table_source.h"

namespace provix2 {

class DataControl : public ze::ui::UserControl {
 public:
  using Getter = ze::container::DataBinding::Getter;
  using Setter = ze::container::DataBinding::Setter;

  DataControl();
  ~DataControl() override;
  ze::String TypeName() const override { return u"Data"; }
  bool CanTakeFocus() const override { return false; }

  const ze::String& Caption() const { return caption_->Caption(); }
  void SetCaption(ze::String caption) { caption_->SetCaption(std::move(caption)); }
  // The engine: "PostgreSQL" for a server, anything else for a SQLite file
  // (open_table.h).
  const std::string& Connect() const { return connect_; }
  void SetConnect(std::string connect) { connect_ = std::move(connect); }
  // The database file, relative to the current folder or absolute; for a server, its
  // connection string or URI.
  const std::string& DatabaseName() const { return databaseName_; }
  void SetDatabaseName(std::string name) { databaseName_ = std::move(name); }
  const std::string& RecordSource() const { return recordSource_; }
  void SetRecordSource(std::string source) { recordSource_ = std::move(source); }

  // Ties a field to a control's bindable property, read and written through get/set.
  // Returns the binding's number, for BoundPropertyChanged. The bindings are made
  // again over each source that Refresh opens.
  int Bind(ze::String field, ze::String property, Getter get, Setter set);

  // Opens the database (a missing SQLite file is made as the sample database) and
  // shows the first record. Returns false, after telling the user, when it cannot.
  bool Refresh();
  bool IsOpen() const { return recordset_ != nullptr; }
  TableSource* recordset() const { return recordset_.get(); }

  // A bound control said that a property changed: its binding reads the bound one
  // into the record.
  void BoundPropertyChanged(int binding, std::u16string_view property);
  // Whether a bound control's property may change now (the bound one only with a
  // current record).
  bool CanBoundPropertyChange(int binding, std::u16string_view property) const;

  // Moves, writing a changed record first; false when the write failed (reported).
  bool MoveFirst();
  bool MovePrevious();
  bool MoveNext();
  bool MoveLast();
  // Writes a changed record; false when it failed or the user kept the edit after a
  // conflict (reported, the record stays changed).
  bool UpdateRecord();

  ze::ui::CommandButton& cmdFirst;
  ze::ui::CommandButton& cmdPrevious;
  ze::ui::CommandButton& cmdNext;
  ze::ui::CommandButton& cmdLast;

 protected:
  void UserControl_Paint() override;
  void UserControl_Resize() override { UserControl_Paint(); }

 private:
  struct BoundControl {
    ze::String field;
    ze::String property;
    Getter get;
    Setter set;
  };
  ze::container::RecordSource& Source() const;
  ze::container::DataBinding* BindingAt(int binding) const;
  enum class Saved { Yes, Reloaded, No };
  Saved Save();
  Saved ResolveConflict(const RecordConflict& conflict);
  bool Move(void (ze::container::RecordSource::*move)());
  void ShowRecord();
  void Report(const std::string& message) const;
  void SetBarEnabled(bool enabled);

  ze::ui::Label* caption_;
  std::string connect_;
  std::string databaseName_;
  std::string recordSource_;
  std::vector<BoundControl> bound_;
  std::unique_ptr<TableSource> recordset_;
  // Stands in while no database is open: no records, nothing to write into.
  std::unique_ptr<ze::container::Recordset> none_;
  std::vector<std::unique_ptr<ze::container::DataBinding>> bindings_;  // as bound_
};

}  // namespace provix2
