// The in-memory record source and the binding's two directions, without any control.
#include "frame/container/data_binding.h"

#include <gtest/gtest.h>

#include "frame/automation/error.h"
#include "frame/container/memory_recordset.h"

namespace ze::container {
namespace {

TEST(Recordset, MovesAndTheEnds) {
  Recordset rs({u"Nome", u"Data"});
  EXPECT_TRUE(rs.AtEnd());
  EXPECT_THROW(rs.Field(u"Data"), AutomationError);
  rs.AddRecord({u"a", ze::Date(1)});
  rs.AddRecord({u"b"});  // a missing value is Null
  EXPECT_EQ(rs.Position(), std::optional<std::size_t>(0));
  rs.MoveNext();
  EXPECT_TRUE(rs.Field(u"data").IsNull());  // field names ignore case
  rs.MoveNext();
  EXPECT_TRUE(rs.AtEnd());
  rs.MovePrevious();
  EXPECT_EQ(rs.Field(u"Nome"), Variant(u"b"));
  rs.MoveFirst();
  rs.MovePrevious();  // before the first: no current record
  EXPECT_FALSE(rs.Position().has_value());
  rs.MoveLast();
  EXPECT_EQ(rs.Field(u"Nome"), Variant(u"b"));
  try {
    rs.Field(u"Nope");
    ADD_FAILURE();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 3265);
  }
  rs.SetReadOnly(true);
  try {
    rs.SetField(u"Nome", u"c");
    ADD_FAILURE();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 3027);
  }
}

TEST(DataBinding, RecordToPropertyAndBack) {
  Recordset rs({u"Data"});
  rs.AddRecord({u"01/01/2000"});
  rs.AddRecord({u"02/02/2000"});
  Variant property;
  int sets = 0;
  DataBinding binding(
      rs, u"Data", u"DataText", [&] { return property; },
      [&](const Variant& v) {
        ++sets;
        property = v;
        binding.PropertyChanged(u"DataText");  // the control's own notice, while set
      });
  rs.MoveFirst();
  EXPECT_EQ(property, Variant(u"01/01/2000"));
  EXPECT_FALSE(rs.Edited(0));
  property = u"31/12/1999";
  EXPECT_FALSE(binding.PropertyChanged(u"Text"));  // another property: not stored
  EXPECT_EQ(rs.Field(u"Data"), Variant(u"01/01/2000"));
  EXPECT_TRUE(binding.PropertyChanged(u"datatext"));
  EXPECT_EQ(rs.Field(u"Data"), Variant(u"31/12/1999"));
  EXPECT_TRUE(rs.Edited(0));
  EXPECT_TRUE(binding.CanPropertyChange(u"DataText"));
  rs.SetReadOnly(true);
  EXPECT_FALSE(binding.CanPropertyChange(u"DataText"));
  EXPECT_TRUE(binding.CanPropertyChange(u"Text"));
  EXPECT_EQ(sets, 1);
}

TEST(DataBinding, ABindingMayGoBeforeItsSource) {
  Recordset rs({u"Data"});
  rs.AddRecord({u"x"});
  int sets = 0;
  {
    DataBinding binding(
        rs, u"Data", u"P", [] { return Variant(); }, [&](const Variant&) { ++sets; });
    rs.MoveFirst();
  }
  rs.MoveFirst();  // the gone binding hears nothing
  EXPECT_EQ(sets, 1);
}

TEST(Recordset, EndsAndNotices) {
  Recordset empty({u"Data"});
  EXPECT_TRUE(empty.IsBOF());
  EXPECT_TRUE(empty.IsEOF());
  empty.MoveNext();
  empty.MovePrevious();
  EXPECT_TRUE(empty.IsBOF() && empty.IsEOF());

  Recordset rs({u"Data"});
  int notices = 0;
  rs.OnMove([&] { ++notices; });
  rs.AddRecord({Date(1)});
  rs.AddRecord({Date(2)});
  EXPECT_FALSE(rs.IsBOF() || rs.IsEOF());
  rs.MovePrevious();
  EXPECT_TRUE(rs.IsBOF());
  rs.MovePrevious();  // stays at BOF
  EXPECT_TRUE(rs.IsBOF());
  rs.MoveNext();  // from BOF to the first
  EXPECT_EQ(rs.Position(), std::optional<std::size_t>(0));
  rs.MoveLast();
  rs.MoveNext();
  rs.MoveNext();  // stays at EOF
  EXPECT_TRUE(rs.IsEOF());
  EXPECT_FALSE(rs.IsBOF());
  rs.MovePrevious();  // from EOF to the last
  EXPECT_EQ(rs.Field(u"Data"), Variant(Date(2)));
  EXPECT_EQ(notices, 7) << "every move is a notice, even one that stays";
}

TEST(Recordset, FieldsKeepTheirKind) {
  Recordset rs({u"Quando", u"Quanti", u"Prezzo", u"Nome", u"Vuoto", u"Vero"});
  rs.AddRecord({Date(38596.5), std::int32_t{7}, 2.5, u"x", Variant::Null(), true});
  EXPECT_EQ(rs.Field(u"Quando"), Variant(Date(38596.5)));
  EXPECT_EQ(rs.Field(u"Quanti"), Variant(std::int32_t{7}));
  EXPECT_EQ(rs.Field(u"Prezzo"), Variant(2.5));
  EXPECT_EQ(rs.Field(u"Nome"), Variant(u"x"));
  EXPECT_TRUE(rs.Field(u"Vuoto").IsNull());
  EXPECT_EQ(rs.Field(u"Vero"), Variant(true));
  rs.SetField(u"quanti", u"sette");  // a write through keeps no edit pending
  EXPECT_EQ(rs.Field(u"Quanti"), Variant(u"sette"));
  EXPECT_FALSE(rs.Dirty());
  rs.MoveNext();
  try {
    rs.SetField(u"Nome", u"y");
    ADD_FAILURE();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), kNoCurrentRecord);
  }
}

// A change that has no record to go into is kept by its binding until the container
// forgets it; the record that arrives later is not written with it.
TEST(DataBinding, AChangeWithNoCurrentRecordIsHeldNotLost) {
  Recordset rs({u"Data"});
  Variant property = Date(5);
  DataBinding binding(
      rs, u"Data", u"P", [&] { return property; }, [&](const Variant& v) { property = v; });
  EXPECT_FALSE(binding.CanPropertyChange(u"P"));
  EXPECT_TRUE(binding.PropertyChanged(u"P"));
  ASSERT_TRUE(binding.Stranded().has_value());
  EXPECT_EQ(*binding.Stranded(), Variant(Date(5)));

  rs.AddRecord({Date(9)});
  rs.MoveFirst();
  EXPECT_EQ(property, Variant(Date(9)));
  EXPECT_FALSE(rs.Edited(0));
  EXPECT_TRUE(binding.Stranded().has_value()) << "still to be told";
  binding.ForgetStranded();
  EXPECT_FALSE(binding.Stranded().has_value());

  rs.MoveNext();  // EOF: the property keeps what it shows
  EXPECT_EQ(property, Variant(Date(9)));
  binding.ShowNull();
  EXPECT_TRUE(property.IsNull());
  property = Date(6);
  binding.PropertyChanged(u"P");
  EXPECT_EQ(*binding.Stranded(), Variant(Date(6)));
  EXPECT_EQ(rs.Value(0, u"Data"), Variant(Date(9)));
}

TEST(DataBinding, AReadOnlySourceTakesNothingAndHoldsNothing) {
  Recordset rs({u"Data"});
  rs.AddRecord({Date(1)});
  rs.SetReadOnly(true);
  Variant property;
  DataBinding binding(
      rs, u"Data", u"P", [&] { return property; }, [&](const Variant& v) { property = v; });
  rs.MoveFirst();
  EXPECT_EQ(property, Variant(Date(1)));
  property = Date(2);
  EXPECT_TRUE(binding.PropertyChanged(u"P"));
  EXPECT_EQ(rs.Field(u"Data"), Variant(Date(1)));
  EXPECT_FALSE(binding.Stranded().has_value());
}

TEST(DataBinding, APropertyThatRefusesTheRecord) {
  Recordset rs({u"A", u"B"});
  rs.AddRecord({u"bad", u"good"});
  Variant b;
  DataBinding refusing(
      rs, u"A", u"P", [] { return Variant(); },
      [](const Variant& v) {
        if (v == Variant(u"bad")) Raise(380);
      });
  DataBinding other(
      rs, u"B", u"Q", [] { return Variant(); }, [&](const Variant& v) { b = v; });
  EXPECT_THROW(rs.MoveFirst(), AutomationError) << "no one to hear it: the mover does";
  std::vector<std::int32_t> heard;
  refusing.onRefused = [&](const AutomationError& e) { heard.push_back(e.number()); };
  b = Variant();
  rs.MoveFirst();
  EXPECT_EQ(heard, std::vector<std::int32_t>{380});
  EXPECT_EQ(b, Variant(u"good")) << "the other binding still follows the move";
}

}  // namespace
}  // namespace ze::container
