// The xBase expression language of index keys and filters.
//
// Interface
//   Expr::compile(text, schema)     schema: a RecordView or a list of FieldDef;
//                                   throws ExprError "Expressão inválida: ..."
//   Expr::try_compile(text, schema, &error) -> std::optional<Expr>
//   e.type()      'C' 'N' 'D' 'L'   result type, fixed at compile time
//   e.width()     character results: the fixed width of the key (the widest
//                 value the expression can give); 8 for N and D; 1 for L
//   e.eval(rec)   -> Value {type, text (CP850) / num / date / logical}
//   e.key(rec)    -> index key bytes: C padded with blanks (or cut) to width();
//                    N and D in the sortable 8-byte form of cdx_key.hpp;
//                    L as "T"/"F"
//   e.text()      the expression as it was given
//
// Language: field names (any case; "alias->FIELD" and "M->FIELD" read the
// field of the record given), "..." '...' [...] strings, numbers, {dd/mm/yyyy}
// and {} dates, .T. .F. .Y. .N.; + - * / % with xBase typing (string + string
// concatenates, string - string moves the first one's trailing blanks to the
// end, date + n, date - n, date - date); comparisons = == <> # != < <= > >=
// and $ (contained in); .NOT. .AND. .OR. (also ! for .NOT.); functions
// UPPER LOWER STR STRZERO DTOS DTOC CTOD STOD SUBSTR LEFT RIGHT ALLTRIM LTRIM
// TRIM RTRIM PADR PADL VAL LEN IIF EMPTY YEAR MONTH DAY ABS INT ROUND
// REPLICATE SPACE CHR ASC; a function name may be shortened to its first four
// letters as in xBase. DELETED() is not offered: a record view carries no
// deletion mark; filters on it belong to the table layer.
//
// Comparison of strings: "=" is xBase's non-exact equality (the left string
// begins with the right one; an empty right side always matches), "==" is
// exact, "<" ">" compare byte by byte (code page 850 order, shorter first).
//
// Invariant: a compiled expression reads fields by their position in the
// schema it was compiled against; evaluate it only on records of that layout.
// Evaluation never fails: a value that does not fit (STR too narrow) gives
// asterisks, a division by zero gives 0, a bad CTOD gives the empty date.
#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/date.hpp"
#include "base/decimal.hpp"
#include "storage/field.hpp"

namespace tx::storage {

class ExprError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Value {
  char type = 'C';  // C N D L
  std::string text;
  Decimal num;
  Date date;
  bool logical = false;
};

struct ExprNode;

class Expr {
 public:
  static Expr compile(std::string_view text, const RecordView& schema);
  static Expr compile(std::string_view text, const std::vector<FieldDef>& schema);
  static std::optional<Expr> try_compile(std::string_view text, const RecordView& schema,
                                         std::string* error);
  static std::optional<Expr> try_compile(std::string_view text,
                                         const std::vector<FieldDef>& schema, std::string* error);

  Expr(const Expr&);
  Expr& operator=(const Expr&);
  Expr(Expr&&) noexcept;
  Expr& operator=(Expr&&) noexcept;
  ~Expr();

  char type() const;
  int width() const;
  const std::string& text() const { return text_; }

  Value eval(const RecordView& rec) const;
  std::string key(const RecordView& rec) const;
  void key(const RecordView& rec, std::string& out) const;  // reuses out's storage

 private:
  Expr() = default;
  std::string text_;
  std::vector<ExprNode> nodes_;
  int root_ = 0;
};

}  // namespace tx::storage
