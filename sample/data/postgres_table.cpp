// The PostgreSQL table behind provix2's data control.
#include "sample/data/postgres_table.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>

#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/automation/string.h"
#include "sample/data/libpq_library.h"
#include "sample/data/recordset.h"

namespace provix2 {

namespace {

// libpq's functions; the first use loads it.
const Libpq& Pq() {
  return LoadLibpq();
}

// Type oids of the server's built-in types (pg_type.oid, fixed since forever).
constexpr unsigned kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kText = 25, kFloat4 = 700,
                   kFloat8 = 701, kBpchar = 1042, kVarchar = 1043, kDate = 1082,
                   kTimestamp = 1114, kTimestampTz = 1184, kNumeric = 1700;

std::string ServerMessage(const PGconn* conn) {
  std::string message = Pq().PQerrorMessage(conn);
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  return message;
}

std::string Placeholder(std::vector<std::optional<std::string>>& params,
                        std::optional<std::string> value) {
  params.push_back(std::move(value));
  return "$" + std::to_string(params.size());
}

std::optional<std::string> TextOfCell(const Cell& cell) {
  if (cell.kind == Cell::Kind::Null) return std::nullopt;
  return cell.bytes;
}

// A timestamp with time zone without its offset ("2005-09-01 13:45:00+02"), so that it
// reads as the session's local time.
std::string WithoutZone(std::string text) {
  const auto at = text.find_last_of("+-");
  if (at != std::string::npos && at > 10) text.resize(at);
  return text;
}

}  // namespace

// One result of the server, cleared when it goes.
class PostgresTable::Result {
 public:
  explicit Result(PGresult* result) : result_(result) {}
  ~Result() { Pq().PQclear(result_); }
  Result(Result&& other) noexcept : result_(other.result_) { other.result_ = nullptr; }
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;

  int Rows() const { return Pq().PQntuples(result_); }
  Cell At(int row, int col) const {
    Cell cell;
    if (Pq().PQgetisnull(result_, row, col)) return cell;
    cell.kind = Cell::Kind::Text;
    cell.bytes = Pq().PQgetvalue(result_, row, col);
    return cell;
  }
  std::string Text(int row, int col) const { return Pq().PQgetvalue(result_, row, col); }
  const PGresult* Raw() const { return result_; }
  // The first row as a record: `keys` key columns, then the bound fields.
  std::optional<Row> First(std::size_t keys, std::size_t fields) const {
    if (Rows() == 0) return std::nullopt;
    Row row;
    for (std::size_t c = 0; c < keys; ++c) row.key.push_back(At(0, static_cast<int>(c)));
    for (std::size_t f = 0; f < fields; ++f)
      row.cells.push_back(At(0, static_cast<int>(keys + f)));
    return row;
  }

 private:
  PGresult* result_;
};

PostgresTable::PostgresTable(const std::string& connection, const std::string& table,
                             std::vector<std::string> fields)
    : TableSource(std::move(fields)), connection_(connection) {
  // The form's own string wins over the defaults before it; UTF-8 always, since every
  // text crosses as UTF-8.
  const char* keywords[] = {"connect_timeout", "fallback_application_name", "dbname",
                            "client_encoding", nullptr};
  const char* values[] = {"5", "provix2", connection_.c_str(), "UTF8", nullptr};
  conn_ = Pq().PQconnectdbParams(keywords, values, 1);
  if (conn_ == nullptr) throw RecordsetError("memoria insufficiente per collegarsi al server");
  try {
    if (Pq().PQstatus(conn_) != CONNECTION_OK) {
      throw RecordsetError("impossibile collegarsi al server del database: " +
                           ServerMessage(conn_));
    }
    SetUpSession();
    const Result found = Run(
        "SELECT c.oid::text, c.oid::regclass::text FROM pg_class c WHERE c.relkind IN "
        "('r', 'p', 'v') AND pg_table_is_visible(c.oid) AND lower(c.relname) = lower($1) "
        "ORDER BY c.relname = $1 DESC LIMIT 1",
        {table});
    if (found.Rows() == 0) {
      throw RecordsetError("il database non contiene la tabella \"" + table + "\"");
    }
    const std::string oid = found.Text(0, 0);
    table_ = found.Text(0, 1);
    const Result columns = Run(
        "SELECT attname, atttypid::text FROM pg_attribute WHERE attrelid = $1::oid AND "
        "attnum > 0 AND NOT attisdropped ORDER BY attnum",
        {oid});
    for (const std::string& field : this->fields()) {
      int match = -1;
      for (int r = 0; r < columns.Rows(); ++r) {
        const std::string name = columns.Text(r, 0);
        if (name == field) {
          match = r;
          break;
        }
        if (match < 0 && ze::EqualsIgnoringAsciiCase(ze::FromUtf8(name), ze::FromUtf8(field)))
          match = r;
      }
      if (match < 0) {
        throw RecordsetError("la tabella \"" + table + "\" non ha il campo \"" + field + "\"");
      }
      const std::string name = columns.Text(match, 0);
      char* quoted = Pq().PQescapeIdentifier(conn_, name.c_str(), name.size());
      quoted_.push_back(quoted ? quoted : name);
      Pq().PQfreemem(quoted);
      types_.push_back(static_cast<unsigned>(std::strtoul(columns.Text(match, 1).c_str(), nullptr, 10)));
    }
    const Result primary = Run(
        "SELECT a.attname FROM pg_index i JOIN pg_attribute a ON a.attrelid = i.indrelid AND "
        "a.attnum = ANY (i.indkey) WHERE i.indrelid = $1::oid AND i.indisprimary ORDER BY "
        "array_position(i.indkey::int2[], a.attnum)",
        {oid});
    if (primary.Rows() == 0) {
      throw RecordsetError("la tabella \"" + table +
                           "\" non ha una chiave primaria: i suoi record non si possono "
                           "ritrovare con certezza");
    }
    for (int r = 0; r < primary.Rows(); ++r) {
      const std::string name = primary.Text(r, 0);
      char* quoted = Pq().PQescapeIdentifier(conn_, name.c_str(), name.size());
      keys_.push_back(quoted ? quoted : name);
      Pq().PQfreemem(quoted);
    }
    for (const auto& k : keys_) columns_ += (columns_.empty() ? "" : ", ") + k;
    for (const auto& f : quoted_) columns_ += ", " + f;
    Open();
  } catch (...) {
    Pq().PQfinish(conn_);
    conn_ = nullptr;
    throw;
  }
}

PostgresTable::~PostgresTable() {
  Pq().PQfinish(conn_);
}

void PostgresTable::SetUpSession() {
  // Dates cross as "yyyy-mm-dd" whatever the server's default style.
  Run("SET DateStyle = 'ISO, YMD'", {});
}

void PostgresTable::Reconnect() {
  if (Pq().PQstatus(conn_) == CONNECTION_OK) return;
  Pq().PQreset(conn_);
  if (Pq().PQstatus(conn_) != CONNECTION_OK) {
    throw RecordsetError("il server del database non risponde: " + ServerMessage(conn_) +
                         "\nLe modifiche restano sul modulo: il prossimo spostamento o "
                         "salvataggio riprova.");
  }
  SetUpSession();
}

PostgresTable::Result PostgresTable::Run(
    const std::string& sql, const std::vector<std::optional<std::string>>& params) const {
  std::vector<const char*> values;
  for (const auto& p : params) values.push_back(p ? p->c_str() : nullptr);
  Result result(Pq().PQexecParams(conn_, sql.c_str(), static_cast<int>(values.size()), nullptr,
                             values.data(), nullptr, nullptr, 0));
  const ExecStatusType status = Pq().PQresultStatus(result.Raw());
  if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK) return result;
  if (Pq().PQstatus(conn_) != CONNECTION_OK) {
    throw RecordsetError("la connessione al server del database si è interrotta (" +
                         ServerMessage(conn_) +
                         ")\nIl prossimo spostamento o salvataggio si ricollega.");
  }
  const char* primary = Pq().PQresultErrorField(result.Raw(), PG_DIAG_MESSAGE_PRIMARY);
  throw RecordsetError(std::string("errore del server del database: ") +
                       (primary ? primary : ServerMessage(conn_)));
}

std::optional<Row> PostgresTable::One(const std::string& tail,
                                      const std::vector<std::optional<std::string>>& params) const {
  return Run("SELECT " + columns_ + " FROM " + table_ + " " + tail, params)
      .First(keys_.size(), quoted_.size());
}

std::string PostgresTable::KeyIs(const std::vector<Cell>& key,
                                 std::vector<std::optional<std::string>>& params) const {
  std::string sql;
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    sql += (i ? " AND " : "") + keys_[i] + " = " + Placeholder(params, TextOfCell(key[i]));
  }
  return sql;
}

std::optional<Row> PostgresTable::Fetch(Seek seek, const std::vector<Cell>& key) const {
  std::string ascending, descending;
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    ascending += (i ? ", " : "") + keys_[i];
    descending += (i ? ", " : "") + keys_[i] + " DESC";
  }
  std::vector<std::optional<std::string>> params;
  auto compared = [&](const char* op) {
    // A row comparison walks a composite key the way ORDER BY sorts it.
    std::string placeholders;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
      placeholders += (i ? ", " : "") + Placeholder(params, TextOfCell(key[i]));
    }
    return "WHERE (" + ascending + ") " + op + " (" + placeholders + ") ";
  };
  switch (seek) {
    case Seek::First:
      return One("ORDER BY " + ascending + " LIMIT 1", params);
    case Seek::Last:
      return One("ORDER BY " + descending + " LIMIT 1", params);
    case Seek::After:
      return One(compared(">") + "ORDER BY " + ascending + " LIMIT 1", params);
    case Seek::Before:
      return One(compared("<") + "ORDER BY " + descending + " LIMIT 1", params);
  }
  return std::nullopt;
}

std::optional<Row> PostgresTable::Reread(const std::vector<Cell>& key) const {
  std::vector<std::optional<std::string>> params;
  const std::string where = KeyIs(key, params);
  return One("WHERE " + where, params);
}

std::optional<Row> PostgresTable::Write(const std::vector<Cell>& key, const Edits& edits,
                                        const std::vector<Cell>* expected) {
  std::vector<std::optional<std::string>> params;
  std::string sql = "UPDATE " + table_ + " SET ";
  bool first = true;
  for (const auto& [field, value] : edits) {
    sql += (first ? "" : ", ") + quoted_[field] + " = " +
           Placeholder(params, TextOf(field, value));
    first = false;
  }
  sql += " WHERE " + KeyIs(key, params);
  if (expected) {
    // Compared as text, the form in which they were read.
    for (std::size_t f = 0; f < quoted_.size(); ++f) {
      sql += " AND " + quoted_[f] + "::text IS NOT DISTINCT FROM " +
             Placeholder(params, TextOfCell((*expected)[f])) + "::text";
    }
  }
  return Run(sql + " RETURNING " + columns_, params).First(keys_.size(), quoted_.size());
}

Row PostgresTable::Insert(const std::vector<Cell>& key, const std::vector<Cell>& cells,
                          const Edits& edits) {
  std::vector<std::optional<std::string>> params;
  std::string names, placeholders;
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    names += (i ? ", " : "") + keys_[i];
    placeholders += (i ? ", " : "") + Placeholder(params, TextOfCell(key[i]));
  }
  for (std::size_t f = 0; f < quoted_.size(); ++f) {
    // A bound field that is also part of the key is written once, as the key.
    bool inKey = false;
    for (const auto& k : keys_) inKey = inKey || k == quoted_[f];
    if (inKey) continue;
    const auto e = edits.find(f);
    names += ", " + quoted_[f];
    placeholders +=
        ", " + Placeholder(params, e != edits.end() ? TextOf(f, e->second) : TextOfCell(cells[f]));
  }
  const Result r = Run("INSERT INTO " + table_ + " (" + names + ") VALUES (" + placeholders +
                           ") RETURNING " + columns_,
                       params);
  auto row = r.First(keys_.size(), quoted_.size());
  if (!row) throw RecordsetError("salvataggio del record: nessuna riga scritta");
  return *row;
}

std::size_t PostgresTable::CountBefore(const std::vector<Cell>* key) const {
  std::vector<std::optional<std::string>> params;
  std::string sql = "SELECT count(*) FROM " + table_;
  if (key) {
    std::string ascending, placeholders;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
      ascending += (i ? ", " : "") + keys_[i];
      placeholders += (i ? ", " : "") + Placeholder(params, TextOfCell((*key)[i]));
    }
    sql += " WHERE (" + ascending + ") < (" + placeholders + ")";
  }
  const Result r = Run(sql, params);
  return static_cast<std::size_t>(std::strtoull(r.Text(0, 0).c_str(), nullptr, 10));
}

ze::Variant PostgresTable::ValueOf(std::size_t field, const Cell& cell) const {
  if (cell.kind == Cell::Kind::Null) return ze::Variant::Null();
  const std::string& text = cell.bytes;
  const char* begin = text.data();
  const char* end = begin + text.size();
  switch (types_[field]) {
    case kBool:
      return text == "t";
    case kInt2:
    case kInt4:
    case kInt8: {
      std::int64_t n = 0;
      if (std::from_chars(begin, end, n).ec == std::errc{}) {
        if (n >= INT32_MIN && n <= INT32_MAX) return static_cast<std::int32_t>(n);
        return static_cast<double>(n);
      }
      break;
    }
    case kFloat4:
    case kFloat8:
    case kNumeric: {
      double d = 0;
      if (std::from_chars(begin, end, d).ec == std::errc{}) return d;
      break;
    }
    case kDate:
    case kTimestamp:
    case kText:
    case kBpchar:
    case kVarchar:
      if (auto date = Recordset::StoredDate(text)) return *date;
      break;
    case kTimestampTz:
      if (auto date = Recordset::StoredDate(WithoutZone(text))) return *date;
      break;
    default:
      break;
  }
  return ze::FromUtf8(text);
}

void PostgresTable::CheckStorable(const ze::Variant& value) const {
  if (value.Is<ze::Date>()) Recordset::DateText(value.Get<ze::Date>());  // error 6 for no date
}

std::optional<std::string> PostgresTable::TextOf(std::size_t field,
                                                 const ze::Variant& value) const {
  if (value.IsNull() || value.IsEmpty()) return std::nullopt;
  if (value.Is<ze::Date>()) return Recordset::DateText(value.Get<ze::Date>());
  if (value.Is<bool>()) {
    const bool b = value.Get<bool>();
    if (types_[field] == kBool) return b ? "true" : "false";
    return b ? "-1" : "0";
  }
  if (value.Is<std::int16_t>()) return std::to_string(value.Get<std::int16_t>());
  if (value.Is<std::int32_t>()) return std::to_string(value.Get<std::int32_t>());
  if (value.Is<float>() || value.Is<double>()) {
    const double d = value.Is<float>() ? double{value.Get<float>()} : value.Get<double>();
    char buffer[32];
    const auto [at, ec] = std::to_chars(buffer, buffer + sizeof buffer, d);
    return std::string(buffer, at);
  }
  return ze::ToUtf8(ze::CStr(value));
}

}  // namespace provix2
