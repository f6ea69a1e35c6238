#include "storage/expr.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "base/codepage.hpp"
#include "storage/cdx_key.hpp"

namespace tx::storage {

namespace {

constexpr int kMaxWidth = 65535;  // widest character result
constexpr int kMaxDepth = 200;    // nesting of the parser
constexpr int kMaxNodes = 20000;

enum class Op : unsigned char {
  Lit, Field, Neg, Not, Add, Sub, Mul, Div, Mod,
  Eq, EqExact, Ne, Lt, Le, Gt, Ge, Contains, And, Or, Func
};

enum class Fn : unsigned char {
  Upper, Lower, Str, StrZero, Dtos, Dtoc, Ctod, Stod, Substr, Left, Right, AllTrim,
  LTrim, RTrim, PadR, PadL, Val, Len, Iif, Empty, Year, Month, Day, Abs, Int, Round,
  Replicate, Space, Chr, Asc
};

// Argument types: C N D L, '*' any, '=' the same type as the argument before.
struct FnInfo {
  const char* name;
  Fn fn;
  int min_args;
  const char* args;
};

constexpr FnInfo kFunctions[] = {
    {"UPPER", Fn::Upper, 1, "C"},       {"LOWER", Fn::Lower, 1, "C"},
    {"STR", Fn::Str, 1, "NNN"},         {"STRZERO", Fn::StrZero, 2, "NNN"},
    {"DTOS", Fn::Dtos, 1, "D"},         {"DTOC", Fn::Dtoc, 1, "D"},
    {"CTOD", Fn::Ctod, 1, "C"},         {"STOD", Fn::Stod, 1, "C"},
    {"SUBSTR", Fn::Substr, 2, "CNN"},   {"LEFT", Fn::Left, 2, "CN"},
    {"RIGHT", Fn::Right, 2, "CN"},      {"ALLTRIM", Fn::AllTrim, 1, "C"},
    {"LTRIM", Fn::LTrim, 1, "C"},       {"TRIM", Fn::RTrim, 1, "C"},
    {"RTRIM", Fn::RTrim, 1, "C"},       {"PADR", Fn::PadR, 2, "CNC"},
    {"PADL", Fn::PadL, 2, "CNC"},       {"VAL", Fn::Val, 1, "C"},
    {"LEN", Fn::Len, 1, "C"},           {"IIF", Fn::Iif, 3, "L*="},
    {"EMPTY", Fn::Empty, 1, "*"},       {"YEAR", Fn::Year, 1, "D"},
    {"MONTH", Fn::Month, 1, "D"},       {"DAY", Fn::Day, 1, "D"},
    {"ABS", Fn::Abs, 1, "N"},           {"INT", Fn::Int, 1, "N"},
    {"ROUND", Fn::Round, 2, "NN"},      {"REPLICATE", Fn::Replicate, 2, "CN"},
    {"SPACE", Fn::Space, 1, "N"},       {"CHR", Fn::Chr, 1, "N"},
    {"ASC", Fn::Asc, 1, "C"},
};

// Code page 850 case tables: Latin-1 letters pair at a distance of 0x20 in
// Unicode (except the multiplication and division signs).
struct CaseTables {
  std::array<unsigned char, 256> upper{}, lower{};
};

constexpr CaseTables make_case_tables() {
  CaseTables t;
  for (int b = 0; b < 256; ++b) t.upper[b] = t.lower[b] = static_cast<unsigned char>(b);
  for (int b = 'a'; b <= 'z'; ++b) {
    t.upper[b] = static_cast<unsigned char>(b - 32);
    t.lower[b - 32] = static_cast<unsigned char>(b);
  }
  for (int b = 0x80; b < 256; ++b) {
    char32_t cp = cp850_to_unicode(static_cast<unsigned char>(b));
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) {
      unsigned char up = 0;
      if (unicode_to_cp850(cp - 0x20, up)) {
        t.upper[b] = up;
        t.lower[up] = static_cast<unsigned char>(b);
      }
    }
  }
  return t;
}
constexpr CaseTables kCase = make_case_tables();

std::string invalid(std::string_view why) { return "Expressão inválida: "_cp + why; }

}  // namespace

struct ExprNode {
  Op op = Op::Lit;
  Fn fn = Fn::Upper;
  char type = 'C';
  int width = 0;
  int field = -1;
  int kid[3] = {-1, -1, -1};
  int nkids = 0;
  Value lit;
};

namespace {

// ---- values ---------------------------------------------------------------

Decimal parse_number_field(std::string_view raw) {
  std::size_t a = 0, b = raw.size();
  while (a < b && raw[a] == ' ') ++a;
  while (b > a && raw[b - 1] == ' ') --b;
  if (a == b) return Decimal();
  if (auto d = Decimal::parse(raw.substr(a, b - a))) return *d;
  return Decimal::val(raw.substr(a, b - a));
}

Value field_value(const FieldDef& f, std::string_view raw) {
  Value v;
  v.type = f.type;
  switch (f.type) {
    case 'N': v.num = parse_number_field(raw); break;
    case 'D': v.date = STOD(raw); break;
    case 'L': v.logical = !raw.empty() && std::strchr("TtYy", raw[0]) != nullptr && raw[0]; break;
    default: v.type = 'C'; v.text.assign(raw); break;
  }
  return v;
}

std::string str_of(Decimal n, long w, long d) {
  if (w < 1) w = 1;
  if (d < 0) d = 0;
  if (d > 9) d = 9;
  Decimal r = n.round(static_cast<int>(d));
  std::string s = (r.is_zero() ? Decimal() : r).str(static_cast<int>(d));
  if (static_cast<long>(s.size()) > w) return std::string(static_cast<std::size_t>(w), '*');
  return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

std::string strzero_of(Decimal n, long w, long d) {
  bool neg = n.round(static_cast<int>(std::clamp(d, 0L, 9L))).negative();
  std::string s = str_of(neg ? n.abs() : n, w, d);
  for (char& c : s) {
    if (c != ' ') break;
    c = '0';
  }
  if (neg) {
    if (s[0] != '0') return std::string(s.size(), '*');
    s[0] = '-';
  }
  return s;
}

bool is_blank(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

std::string substr_of(const std::string& s, long start, long count, bool has_count) {
  long n = static_cast<long>(s.size());
  if (start < 0) start = n + start + 1;  // counted from the right
  if (start < 1) start = 1;
  if (start > n) return {};
  long avail = n - start + 1;
  if (has_count) avail = std::min(avail, count);
  if (avail <= 0) return {};
  return s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(avail));
}

std::string rtrim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}
std::string ltrim(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  return s.substr(i);
}

long clamp_count(Decimal d) {
  long long v = d.to_long();
  return static_cast<long>(std::clamp<long long>(v, -kMaxWidth - 1, kMaxWidth + 1));
}

int compare_values(const Value& a, const Value& b) {
  switch (a.type) {
    case 'N': return a.num < b.num ? -1 : a.num > b.num ? 1 : 0;
    case 'D': return a.date < b.date ? -1 : a.date > b.date ? 1 : 0;
    case 'L': return static_cast<int>(a.logical) - static_cast<int>(b.logical);
    default: {
      int c = a.text.compare(b.text);
      return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
  }
}

Value make_logical(bool b) { Value v; v.type = 'L'; v.logical = b; return v; }
Value make_number(Decimal d) { Value v; v.type = 'N'; v.num = d; return v; }
Value make_text(std::string s) { Value v; v.type = 'C'; v.text = std::move(s); return v; }
Value make_date(Date d) { Value v; v.type = 'D'; v.date = d; return v; }

// ---- evaluation -------------------------------------------------------------

class Evaluator {
 public:
  Evaluator(const std::vector<ExprNode>& nodes, const RecordView* rec) : n_(nodes), rec_(rec) {}

  Value eval(int i) const {
    const ExprNode& e = n_[static_cast<std::size_t>(i)];
    switch (e.op) {
      case Op::Lit: return e.lit;
      case Op::Field: {
        const RecordView& r = *rec_;
        return field_value(r.field(e.field), r.raw(e.field));
      }
      case Op::Neg: { Value v = eval(e.kid[0]); v.num = -v.num; return v; }
      case Op::Not: { Value v = eval(e.kid[0]); v.logical = !v.logical; return v; }
      case Op::And: return make_logical(eval(e.kid[0]).logical && eval(e.kid[1]).logical);
      case Op::Or: return make_logical(eval(e.kid[0]).logical || eval(e.kid[1]).logical);
      case Op::Func: return call(e);
      default: break;
    }
    Value a = eval(e.kid[0]);
    Value b = eval(e.kid[1]);
    switch (e.op) {
      case Op::Add:
        if (a.type == 'C') { a.text += b.text; return a; }
        if (a.type == 'D') return make_date(a.date + static_cast<long>(b.num.to_long()));
        if (b.type == 'D') return make_date(b.date + static_cast<long>(a.num.to_long()));
        return make_number(a.num + b.num);
      case Op::Sub:
        if (a.type == 'C') {
          std::size_t keep = a.text.size();
          while (keep > 0 && a.text[keep - 1] == ' ') --keep;
          std::string blanks(a.text.size() - keep, ' ');
          a.text.resize(keep);
          a.text += b.text;
          a.text += blanks;
          return a;
        }
        if (a.type == 'D' && b.type == 'D') return make_number(Decimal(a.date - b.date));
        if (a.type == 'D') return make_date(a.date - static_cast<long>(b.num.to_long()));
        return make_number(a.num - b.num);
      case Op::Mul: return make_number(a.num * b.num);
      case Op::Div: return make_number(a.num / b.num);
      case Op::Mod: {
        if (b.num.is_zero()) return make_number(Decimal());
        Decimal q = (a.num / b.num).trunc(0);
        Decimal r = a.num - q * b.num;
        if (!r.is_zero() && (r.negative() != b.num.negative())) r += b.num;  // sign of the divisor
        return make_number(r);
      }
      case Op::Eq:
        if (a.type == 'C')
          return make_logical(b.text.empty() || a.text.compare(0, b.text.size(), b.text) == 0);
        return make_logical(compare_values(a, b) == 0);
      case Op::Ne:
        if (a.type == 'C')
          return make_logical(!(b.text.empty() || a.text.compare(0, b.text.size(), b.text) == 0));
        return make_logical(compare_values(a, b) != 0);
      case Op::EqExact: return make_logical(compare_values(a, b) == 0);
      case Op::Lt: return make_logical(compare_values(a, b) < 0);
      case Op::Le: return make_logical(compare_values(a, b) <= 0);
      case Op::Gt: return make_logical(compare_values(a, b) > 0);
      case Op::Ge: return make_logical(compare_values(a, b) >= 0);
      case Op::Contains: return make_logical(b.text.find(a.text) != std::string::npos);
      default: return a;
    }
  }

 private:
  Value arg(const ExprNode& e, int k) const { return eval(e.kid[k]); }

  Value call(const ExprNode& e) const {
    switch (e.fn) {
      case Fn::Upper: case Fn::Lower: {
        Value v = arg(e, 0);
        const auto& t = e.fn == Fn::Upper ? kCase.upper : kCase.lower;
        for (char& c : v.text) c = static_cast<char>(t[static_cast<unsigned char>(c)]);
        return v;
      }
      case Fn::Str: case Fn::StrZero: {
        Decimal n = arg(e, 0).num;
        long w = e.nkids > 1 ? clamp_count(arg(e, 1).num) : 10;
        long d = e.nkids > 2 ? clamp_count(arg(e, 2).num) : 0;
        return make_text(e.fn == Fn::Str ? str_of(n, w, d) : strzero_of(n, w, d));
      }
      case Fn::Dtos: return make_text(DTOS(arg(e, 0).date));
      case Fn::Dtoc: return make_text(DTOC(arg(e, 0).date));
      case Fn::Ctod: return make_date(CTOD(arg(e, 0).text));
      case Fn::Stod: return make_date(STOD(arg(e, 0).text));
      case Fn::Substr: {
        std::string s = arg(e, 0).text;
        long start = clamp_count(arg(e, 1).num);
        bool has = e.nkids > 2;
        long count = has ? clamp_count(arg(e, 2).num) : 0;
        return make_text(substr_of(s, start, count, has));
      }
      case Fn::Left: {
        std::string s = arg(e, 0).text;
        long n = clamp_count(arg(e, 1).num);
        if (n <= 0) return make_text({});
        return make_text(s.substr(0, static_cast<std::size_t>(n)));
      }
      case Fn::Right: {
        std::string s = arg(e, 0).text;
        long n = clamp_count(arg(e, 1).num);
        if (n <= 0) return make_text({});
        std::size_t k = std::min(s.size(), static_cast<std::size_t>(n));
        return make_text(s.substr(s.size() - k));
      }
      case Fn::AllTrim: return make_text(rtrim(ltrim(arg(e, 0).text)));
      case Fn::LTrim: return make_text(ltrim(arg(e, 0).text));
      case Fn::RTrim: return make_text(rtrim(arg(e, 0).text));
      case Fn::PadR: case Fn::PadL: {
        std::string s = arg(e, 0).text;
        long n = std::max(0L, clamp_count(arg(e, 1).num));
        char fill = ' ';
        if (e.nkids > 2) {
          std::string f = arg(e, 2).text;
          if (!f.empty()) fill = f[0];
        }
        auto w = static_cast<std::size_t>(n);
        if (s.size() >= w) return make_text(e.fn == Fn::PadR ? s.substr(0, w) : s.substr(0, w));
        std::string pad(w - s.size(), fill);
        return make_text(e.fn == Fn::PadR ? s + pad : pad + s);
      }
      case Fn::Val: return make_number(Decimal::val(arg(e, 0).text));
      case Fn::Len: return make_number(Decimal(static_cast<long long>(arg(e, 0).text.size())));
      case Fn::Iif: return arg(e, 0).logical ? arg(e, 1) : arg(e, 2);
      case Fn::Empty: {
        Value v = arg(e, 0);
        switch (v.type) {
          case 'N': return make_logical(v.num.is_zero());
          case 'D': return make_logical(v.date.empty());
          case 'L': return make_logical(!v.logical);
          default: return make_logical(is_blank(v.text));
        }
      }
      case Fn::Year: return make_number(Decimal(arg(e, 0).date.year()));
      case Fn::Month: return make_number(Decimal(arg(e, 0).date.month()));
      case Fn::Day: return make_number(Decimal(arg(e, 0).date.day()));
      case Fn::Abs: return make_number(arg(e, 0).num.abs());
      case Fn::Int: return make_number(arg(e, 0).num.trunc(0));
      case Fn::Round:
        return make_number(arg(e, 0).num.round(static_cast<int>(std::clamp(clamp_count(arg(e, 1).num), -9L, 9L))));
      case Fn::Replicate: {
        std::string s = arg(e, 0).text;
        long n = std::max(0L, clamp_count(arg(e, 1).num));
        std::string r;
        for (long k = 0; k < n && r.size() + s.size() <= static_cast<std::size_t>(kMaxWidth); ++k) r += s;
        return make_text(std::move(r));
      }
      case Fn::Space:
        return make_text(std::string(static_cast<std::size_t>(std::max(0L, clamp_count(arg(e, 0).num))), ' '));
      case Fn::Chr: return make_text(std::string(1, static_cast<char>(arg(e, 0).num.to_long() & 0xFF)));
      case Fn::Asc: {
        std::string s = arg(e, 0).text;
        return make_number(Decimal(s.empty() ? 0 : static_cast<unsigned char>(s[0])));
      }
    }
    return Value{};
  }

  const std::vector<ExprNode>& n_;
  const RecordView* rec_;
};

// ---- lexer ------------------------------------------------------------------

enum class Tok { End, Ident, Number, String, DateLit, Logical, Op, LParen, RParen, Comma, Arrow };

struct Token {
  Tok kind = Tok::End;
  std::string text;  // identifier upper case, operator spelling, string contents
  std::size_t pos = 0;
};

class Lexer {
 public:
  explicit Lexer(std::string_view s) : s_(s) {}

  Token next() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t')) ++i_;
    Token t;
    t.pos = i_;
    if (i_ >= s_.size()) return t;
    char c = s_[i_];
    auto up = [](char ch) { return static_cast<char>(kCase.upper[static_cast<unsigned char>(ch)]); };
    auto is_alpha = [](char ch) {
      return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_';
    };
    auto is_digit = [](char ch) { return ch >= '0' && ch <= '9'; };
    if (is_alpha(c)) {
      t.kind = Tok::Ident;
      while (i_ < s_.size() && (is_alpha(s_[i_]) || is_digit(s_[i_]))) t.text += up(s_[i_++]);
      return t;
    }
    if (is_digit(c) || (c == '.' && i_ + 1 < s_.size() && is_digit(s_[i_ + 1]))) {
      t.kind = Tok::Number;
      while (i_ < s_.size() && is_digit(s_[i_])) t.text += s_[i_++];
      if (i_ < s_.size() && s_[i_] == '.' && i_ + 1 < s_.size() && is_digit(s_[i_ + 1])) {
        t.text += s_[i_++];
        while (i_ < s_.size() && is_digit(s_[i_])) t.text += s_[i_++];
      }
      return t;
    }
    if (c == '.') {  // .AND. .OR. .NOT. .T. .F.
      std::size_t j = i_ + 1;
      std::string w;
      while (j < s_.size() && is_alpha(s_[j])) w += up(s_[j++]);
      if (j < s_.size() && s_[j] == '.' && !w.empty()) {
        i_ = j + 1;
        if (w == "T" || w == "Y" || w == "F" || w == "N") {
          t.kind = Tok::Logical;
          t.text = (w == "T" || w == "Y") ? "T" : "F";
          return t;
        }
        if (w == "AND" || w == "OR" || w == "NOT") {
          t.kind = Tok::Op;
          t.text = w;
          return t;
        }
      }
      throw ExprError(invalid("operador desconhecido na posição "_cp + std::to_string(i_ + 1)));
    }
    if (c == '"' || c == '\'' || c == '[') {
      char close = c == '[' ? ']' : c;
      std::size_t j = s_.find(close, i_ + 1);
      if (j == std::string_view::npos) throw ExprError(invalid("texto sem fim"));
      t.kind = Tok::String;
      t.text.assign(s_.substr(i_ + 1, j - i_ - 1));
      i_ = j + 1;
      return t;
    }
    if (c == '{') {
      std::size_t j = s_.find('}', i_ + 1);
      if (j == std::string_view::npos) throw ExprError(invalid("data sem fim"));
      t.kind = Tok::DateLit;
      t.text.assign(s_.substr(i_ + 1, j - i_ - 1));
      i_ = j + 1;
      return t;
    }
    ++i_;
    switch (c) {
      case '(': t.kind = Tok::LParen; return t;
      case ')': t.kind = Tok::RParen; return t;
      case ',': t.kind = Tok::Comma; return t;
      default: break;
    }
    t.kind = Tok::Op;
    t.text = std::string(1, c);
    char d = i_ < s_.size() ? s_[i_] : '\0';
    if ((c == '-' && d == '>') || (c == '=' && d == '=') || (c == '<' && (d == '>' || d == '=')) ||
        (c == '>' && d == '=') || (c == '!' && d == '=') || (c == '*' && d == '*')) {
      t.text += d;
      ++i_;
    }
    if (t.text == "->") t.kind = Tok::Arrow;
    static constexpr std::string_view kOps[] = {"+", "-", "*", "/", "%", "=", "==", "<>", "#", "!=",
                                               "<", "<=", ">", ">=", "$", "!"};
    if (t.kind == Tok::Op && std::find(std::begin(kOps), std::end(kOps), t.text) == std::end(kOps))
      throw ExprError(invalid("caractere inesperado \"" + t.text + "\" na posição "_cp +
                              std::to_string(t.pos + 1)));
    return t;
  }

 private:
  std::string_view s_;
  std::size_t i_ = 0;
};

// ---- parser -----------------------------------------------------------------

class Parser {
 public:
  Parser(std::string_view text, const std::vector<FieldDef>& fields, std::vector<ExprNode>& out)
      : lex_(text), fields_(fields), nodes_(out) {
    advance();
  }

  int parse() {
    int r = parse_or();
    if (cur_.kind != Tok::End)
      throw ExprError(invalid("texto inesperado na posição "_cp + std::to_string(cur_.pos + 1)));
    return r;
  }

 private:
  void advance() { cur_ = lex_.next(); }
  bool is_op(std::string_view s) const { return cur_.kind == Tok::Op && cur_.text == s; }

  struct Depth {
    explicit Depth(int& d) : d_(d) {
      if (++d_ > kMaxDepth) throw ExprError(invalid("expressão aninhada demais"));
    }
    ~Depth() { --d_; }
    int& d_;
  };

  const ExprNode& node(int i) const { return nodes_[static_cast<std::size_t>(i)]; }

  int add(ExprNode n) {
    if (static_cast<int>(nodes_.size()) >= kMaxNodes) throw ExprError(invalid("expressão longa demais"));
    if (n.type == 'C' && n.width > kMaxWidth) throw ExprError(invalid("resultado longo demais"));
    if (n.type != 'C') n.width = n.type == 'L' ? 1 : 8;
    bool constant = n.op != Op::Field && n.op != Op::Lit;
    for (int k = 0; k < n.nkids; ++k) constant = constant && node(n.kid[k]).op == Op::Lit;
    nodes_.push_back(std::move(n));
    int id = static_cast<int>(nodes_.size()) - 1;
    if (constant) {  // fold: the value never depends on the record
      Value v = Evaluator(nodes_, nullptr).eval(id);
      ExprNode& e = nodes_.back();
      e.op = Op::Lit;
      e.nkids = 0;
      e.lit = std::move(v);
    }
    return id;
  }

  [[noreturn]] void type_error(const char* what) const {
    throw ExprError(invalid(std::string("tipos incompatíveis"_cp) + " em " + what));
  }

  int binary(Op op, int a, int b, const char* spelling) {
    ExprNode n;
    n.op = op;
    n.kid[0] = a;
    n.kid[1] = b;
    n.nkids = 2;
    char ta = node(a).type, tb = node(b).type;
    switch (op) {
      case Op::Add:
        if (ta == 'C' && tb == 'C') { n.type = 'C'; n.width = node(a).width + node(b).width; }
        else if (ta == 'N' && tb == 'N') n.type = 'N';
        else if ((ta == 'D' && tb == 'N') || (ta == 'N' && tb == 'D')) n.type = 'D';
        else type_error(spelling);
        break;
      case Op::Sub:
        if (ta == 'C' && tb == 'C') { n.type = 'C'; n.width = node(a).width + node(b).width; }
        else if (ta == 'N' && tb == 'N') n.type = 'N';
        else if (ta == 'D' && tb == 'N') n.type = 'D';
        else if (ta == 'D' && tb == 'D') n.type = 'N';
        else type_error(spelling);
        break;
      case Op::Mul: case Op::Div: case Op::Mod:
        if (ta != 'N' || tb != 'N') type_error(spelling);
        n.type = 'N';
        break;
      case Op::Contains:
        if (ta != 'C' || tb != 'C') type_error(spelling);
        n.type = 'L';
        break;
      case Op::And: case Op::Or:
        if (ta != 'L' || tb != 'L') type_error(spelling);
        n.type = 'L';
        break;
      default:  // comparisons
        if (ta != tb) type_error(spelling);
        n.type = 'L';
        break;
    }
    return add(std::move(n));
  }

  int parse_or() {
    Depth d(depth_);
    int a = parse_and();
    while (is_op("OR")) {
      advance();
      a = binary(Op::Or, a, parse_and(), ".OR.");
    }
    return a;
  }

  int parse_and() {
    int a = parse_not();
    while (is_op("AND")) {
      advance();
      a = binary(Op::And, a, parse_not(), ".AND.");
    }
    return a;
  }

  int parse_not() {
    Depth d(depth_);
    if (is_op("NOT") || is_op("!")) {
      advance();
      int a = parse_not();
      if (node(a).type != 'L') type_error(".NOT.");
      ExprNode n;
      n.op = Op::Not;
      n.type = 'L';
      n.kid[0] = a;
      n.nkids = 1;
      return add(std::move(n));
    }
    return parse_compare();
  }

  int parse_compare() {
    int a = parse_sum();
    struct Cmp { const char* s; Op op; };
    static constexpr Cmp kCmp[] = {{"=", Op::Eq},  {"==", Op::EqExact}, {"<>", Op::Ne}, {"#", Op::Ne},
                                   {"!=", Op::Ne}, {"<", Op::Lt},       {"<=", Op::Le}, {">", Op::Gt},
                                   {">=", Op::Ge}, {"$", Op::Contains}};
    for (;;) {
      const Cmp* hit = nullptr;
      for (const Cmp& c : kCmp)
        if (is_op(c.s)) hit = &c;
      if (!hit) return a;
      advance();
      a = binary(hit->op, a, parse_sum(), hit->s);
    }
  }

  int parse_sum() {
    int a = parse_product();
    while (is_op("+") || is_op("-")) {
      bool plus = cur_.text == "+";
      advance();
      a = binary(plus ? Op::Add : Op::Sub, a, parse_product(), plus ? "+" : "-");
    }
    return a;
  }

  int parse_product() {
    int a = parse_unary();
    while (is_op("*") || is_op("/") || is_op("%")) {
      Op op = cur_.text == "*" ? Op::Mul : cur_.text == "/" ? Op::Div : Op::Mod;
      std::string s = cur_.text;
      advance();
      a = binary(op, a, parse_unary(), s == "*" ? "*" : s == "/" ? "/" : "%");
    }
    return a;
  }

  int parse_unary() {
    Depth d(depth_);
    if (is_op("-") || is_op("+")) {
      bool neg = cur_.text == "-";
      advance();
      int a = parse_unary();
      if (node(a).type != 'N') type_error(neg ? "-" : "+");
      if (!neg) return a;
      ExprNode n;
      n.op = Op::Neg;
      n.type = 'N';
      n.kid[0] = a;
      n.nkids = 1;
      return add(std::move(n));
    }
    return parse_primary();
  }

  int literal(Value v, int width) {
    ExprNode n;
    n.op = Op::Lit;
    n.type = v.type;
    n.width = width;
    n.lit = std::move(v);
    return add(std::move(n));
  }

  int parse_primary() {
    Token t = cur_;
    switch (t.kind) {
      case Tok::Number: {
        advance();
        auto d = Decimal::parse(t.text);
        if (!d) throw ExprError(invalid("número inválido "_cp + t.text));
        return literal(make_number(*d), 8);
      }
      case Tok::String: {
        advance();
        int w = static_cast<int>(std::min<std::size_t>(t.text.size(), kMaxWidth + 1));
        return literal(make_text(t.text), w);
      }
      case Tok::DateLit: {
        advance();
        Date d;
        if (!is_blank(t.text)) {
          d = CTOD(t.text);
          if (d.empty()) throw ExprError(invalid("data inválida {"_cp + t.text + "}"));
        }
        return literal(make_date(d), 8);
      }
      case Tok::Logical: advance(); return literal(make_logical(t.text == "T"), 1);
      case Tok::LParen: {
        advance();
        int a = parse_or();
        if (cur_.kind != Tok::RParen) throw ExprError(invalid("falta fechar parêntese"_cp));
        advance();
        return a;
      }
      case Tok::Ident: {
        advance();
        if (cur_.kind == Tok::LParen) return parse_call(t);
        std::string name = t.text;
        if (cur_.kind == Tok::Arrow) {  // alias->FIELD, M->FIELD
          advance();
          if (cur_.kind != Tok::Ident) throw ExprError(invalid("falta o campo depois de ->"));
          name = cur_.text;
          advance();
        }
        return field_ref(name);
      }
      case Tok::End: throw ExprError(invalid("expressão incompleta"_cp));
      default:
        throw ExprError(invalid("texto inesperado na posição "_cp + std::to_string(t.pos + 1)));
    }
  }

  int field_ref(const std::string& name) {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
      const FieldDef& f = fields_[i];
      if (f.name.size() != name.size()) continue;
      bool same = true;
      for (std::size_t k = 0; k < name.size() && same; ++k)
        same = kCase.upper[static_cast<unsigned char>(f.name[k])] == static_cast<unsigned char>(name[k]);
      if (!same) continue;
      if (f.type == 'M') throw ExprError(invalid("campo memo " + name + " não pode entrar numa chave"_cp));
      ExprNode n;
      n.op = Op::Field;
      n.field = static_cast<int>(i);
      n.type = std::strchr("CNDL", f.type) && f.type ? f.type : 'C';
      n.width = f.len;
      return add(std::move(n));
    }
    throw ExprError(invalid("campo desconhecido " + name));
  }

  const FnInfo* find_function(const std::string& name) const {
    for (const FnInfo& f : kFunctions)
      if (name == f.name) return &f;
    if (name.size() >= 4)  // xBase: a name may be cut to its first four letters
      for (const FnInfo& f : kFunctions)
        if (std::string_view(f.name).starts_with(name)) return &f;
    return nullptr;
  }

  int parse_call(const Token& name) {
    Depth d(depth_);
    const FnInfo* f = find_function(name.text);
    if (!f) throw ExprError(invalid("função desconhecida "_cp + name.text));
    advance();  // (
    ExprNode n;
    n.op = Op::Func;
    n.fn = f->fn;
    const int max_args = static_cast<int>(std::strlen(f->args));
    if (cur_.kind != Tok::RParen) {
      for (;;) {
        if (n.nkids == max_args) throw ExprError(invalid("argumentos demais em "_cp + std::string(f->name)));
        n.kid[n.nkids++] = parse_or();
        if (cur_.kind == Tok::Comma) { advance(); continue; }
        break;
      }
    }
    if (cur_.kind != Tok::RParen) throw ExprError(invalid("falta fechar parêntese em "_cp + std::string(f->name)));
    advance();
    if (n.nkids < f->min_args) throw ExprError(invalid("faltam argumentos em " + std::string(f->name)));
    for (int k = 0; k < n.nkids; ++k) {
      char want = f->args[k];
      char got = node(n.kid[k]).type;
      if (want == '=' ? got != node(n.kid[k - 1]).type : (want != '*' && got != want)) type_error(f->name);
    }
    type_call(n, *f);
    return add(std::move(n));
  }

  bool lit(const ExprNode& n, int k) const { return node(n.kid[k]).op == Op::Lit; }
  long lit_count(const ExprNode& n, int k) const { return clamp_count(node(n.kid[k]).lit.num); }

  // Result type and width of a call; widths that depend on a count need the
  // count as a constant, or fall back to the width of the string argument.
  void type_call(ExprNode& n, const FnInfo& f) {
    int w0 = n.nkids > 0 ? node(n.kid[0]).width : 0;
    n.type = 'C';
    switch (n.fn) {
      case Fn::Upper: case Fn::Lower: case Fn::AllTrim: case Fn::LTrim: case Fn::RTrim: n.width = w0; break;
      case Fn::Str: case Fn::StrZero:
        for (int k = 1; k < n.nkids; ++k)
          if (!lit(n, k)) throw ExprError(invalid(std::string("tamanho de ") + f.name + " deve ser constante"));
        n.width = n.nkids > 1 ? static_cast<int>(std::clamp(lit_count(n, 1), 1L, 255L)) : 10;
        break;
      case Fn::Dtos: n.width = 8; break;
      case Fn::Dtoc: n.width = 10; break;
      case Fn::Ctod: case Fn::Stod: n.type = 'D'; break;
      case Fn::Substr: case Fn::Left: case Fn::Right: {
        bool all = true;
        for (int k = 1; k < n.nkids; ++k) all = all && lit(n, k);
        n.width = w0;
        if (all) {  // exact width: the call on a string of the full width
          std::string s(static_cast<std::size_t>(w0), 'x');
          long a = lit_count(n, 1);
          if (n.fn == Fn::Substr) n.width = static_cast<int>(substr_of(s, a, n.nkids > 2 ? lit_count(n, 2) : 0, n.nkids > 2).size());
          else n.width = static_cast<int>(std::clamp<long>(a, 0L, w0));
        }
        break;
      }
      case Fn::PadR: case Fn::PadL:
        if (!lit(n, 1)) throw ExprError(invalid(std::string("tamanho de ") + f.name + " deve ser constante"));
        n.width = static_cast<int>(std::max(0L, lit_count(n, 1)));
        break;
      case Fn::Replicate:
        if (!lit(n, 1)) throw ExprError(invalid("tamanho de REPLICATE deve ser constante"));
        n.width = static_cast<int>(std::min<long long>(static_cast<long long>(w0) * std::max(0L, lit_count(n, 1)), kMaxWidth + 1));
        break;
      case Fn::Space:
        if (!lit(n, 0)) throw ExprError(invalid("tamanho de SPACE deve ser constante"));
        n.width = static_cast<int>(std::max(0L, lit_count(n, 0)));
        break;
      case Fn::Chr: n.width = 1; break;
      case Fn::Iif:
        n.type = node(n.kid[1]).type;
        n.width = std::max(node(n.kid[1]).width, node(n.kid[2]).width);
        break;
      case Fn::Empty: n.type = 'L'; break;
      case Fn::Val: case Fn::Len: case Fn::Year: case Fn::Month: case Fn::Day: case Fn::Abs:
      case Fn::Int: case Fn::Round: case Fn::Asc:
        n.type = 'N';
        break;
    }
  }

  Lexer lex_;
  Token cur_;
  const std::vector<FieldDef>& fields_;
  std::vector<ExprNode>& nodes_;
  int depth_ = 0;
};

std::vector<FieldDef> fields_of(const RecordView& v) {
  std::vector<FieldDef> f;
  for (int i = 0; i < v.field_count(); ++i) f.push_back(v.field(i));
  return f;
}

}  // namespace

Expr::Expr(const Expr&) = default;
Expr& Expr::operator=(const Expr&) = default;
Expr::Expr(Expr&&) noexcept = default;
Expr& Expr::operator=(Expr&&) noexcept = default;
Expr::~Expr() = default;

Expr Expr::compile(std::string_view text, const std::vector<FieldDef>& schema) {
  Expr e;
  e.text_.assign(text);
  if (is_blank(text)) throw ExprError(invalid("expressão vazia"_cp));
  Parser p(text, schema, e.nodes_);
  e.root_ = p.parse();
  return e;
}

Expr Expr::compile(std::string_view text, const RecordView& schema) { return compile(text, fields_of(schema)); }

std::optional<Expr> Expr::try_compile(std::string_view text, const std::vector<FieldDef>& schema,
                                      std::string* error) {
  try {
    return compile(text, schema);
  } catch (const ExprError& e) {
    if (error) *error = e.what();
    return std::nullopt;
  }
}

std::optional<Expr> Expr::try_compile(std::string_view text, const RecordView& schema, std::string* error) {
  return try_compile(text, fields_of(schema), error);
}

char Expr::type() const { return nodes_[static_cast<std::size_t>(root_)].type; }
int Expr::width() const { return nodes_[static_cast<std::size_t>(root_)].width; }

Value Expr::eval(const RecordView& rec) const { return Evaluator(nodes_, &rec).eval(root_); }

void Expr::key(const RecordView& rec, std::string& out) const {
  Value v = eval(rec);
  switch (v.type) {
    case 'N': {
      // through the decimal text, so that the key is the double nearest to
      // the stored number, the same one a seek with that number builds
      std::string t = v.num.str(Decimal::kScale);
      out.resize(8);
      cdx_number_key(std::strtod(t.c_str(), nullptr), out.data());
      break;
    }
    case 'D': out = cdx_date_key(v.date); break;
    case 'L': out.assign(1, v.logical ? 'T' : 'F'); break;
    default:
      out = std::move(v.text);
      out.resize(static_cast<std::size_t>(width()), ' ');
      break;
  }
}

std::string Expr::key(const RecordView& rec) const {
  std::string s;
  key(rec, s);
  return s;
}

}  // namespace tx::storage
