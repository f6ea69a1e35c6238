#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/codepage.hpp"
#include "storage/cdx_key.hpp"
#include "storage/expr.hpp"

namespace tx::storage {
namespace {

// A record of fixed fields given as their stored text.
class TestRecord : public RecordView {
 public:
  TestRecord(std::vector<FieldDef> f, std::vector<std::string> v) : f_(std::move(f)), v_(std::move(v)) {
    for (std::size_t i = 0; i < f_.size(); ++i) v_[i].resize(static_cast<std::size_t>(f_[i].len), ' ');
  }
  int field_count() const override { return static_cast<int>(f_.size()); }
  int field_index(std::string_view name) const override {
    for (std::size_t i = 0; i < f_.size(); ++i)
      if (f_[i].name == name) return static_cast<int>(i);
    return -1;
  }
  const FieldDef& field(int i) const override { return f_[static_cast<std::size_t>(i)]; }
  std::string_view raw(int i) const override { return v_[static_cast<std::size_t>(i)]; }
  void set(int i, std::string s) {
    s.resize(static_cast<std::size_t>(f_[static_cast<std::size_t>(i)].len), ' ');
    v_[static_cast<std::size_t>(i)] = std::move(s);
  }

 private:
  std::vector<FieldDef> f_;
  std::vector<std::string> v_;
};

// The fields the program's index keys read, with one taxpayer's values.
TestRecord sample() {
  return TestRecord(
      {{"CPF", 'C', 11, 0}, {"I7_0", 'N', 4, 0}, {"I6_3", 'N', 2, 0}, {"NOMECONTR", 'C', 20, 0},
       {"ATV_BRASIL", 'C', 1, 0}, {"DT_LC", 'D', 8, 0}, {"NRO_TERM", 'C', 2, 0}, {"VALOR", 'N', 12, 2},
       {"DESCRICAO", 'C', 512, 0}, {"HORAG", 'C', 5, 0}, {"DATAG", 'D', 8, 0}, {"BEM_NRO", 'N', 3, 0},
       {"RVAR_NRO", 'N', 3, 0}, {"DAY_TRADE", 'C', 1, 0}, {"ATIVO", 'L', 1, 0}, {"OBS", 'M', 10, 0},
       {"NEG", 'N', 8, 2}},
      {"12345678909", "  17", " 3", "Jos\x82 da Silva", "S", "20140430", "07", "    -1234.56",
       "Casa na praia", "09:30", "20140102", "  5", " 12", "N", "T", "         1", "   -0.50"});
}

struct Case {
  const char* text;
  char type;
  int width;
  std::string expect;  // C: the key bytes; N: the number as str(4); D: DTOS; L: "T"/"F"
};

std::string show(const Value& v) {
  switch (v.type) {
    case 'N': return v.num.str(4);
    case 'D': return DTOS(v.date);
    case 'L': return v.logical ? "T" : "F";
    default: return v.text;
  }
}

TEST(ExprEval, TableOfExpressions) {
  const std::vector<Case> cases = {
      // the program's own index keys
      {"CPF", 'C', 11, "12345678909"},
      {"CPF+str(I7_0,4)", 'C', 15, "12345678909  17"},
      {"CPF+STR(I6_3,2)", 'C', 13, "12345678909 3"},
      {"UPPER(NOMECONTR)", 'C', 20, "JOS\x90 DA SILVA       "},
      {"CPF+ATV_BRASIL+DTOS(DT_LC)", 'C', 20, "12345678909S20140430"},
      {"upper(nro_term)", 'C', 2, "07"},
      {"HORAG+DTOC(DATAG)", 'C', 15, "09:3002/01/2014"},
      {"STRZERO(BEM_NRO,2)+STRZERO(RVAR_NRO,2)+DAY_TRADE", 'C', 5, "0512N"},
      {"imp0414->CPF", 'C', 11, "12345678909"},
      {"M->cpf", 'C', 11, "12345678909"},
      // STR and STRZERO: width, decimals, rounding, too wide
      {"STR(VALOR)", 'C', 10, "     -1235"},
      {"STR(VALOR,9,1)", 'C', 9, "  -1234.6"},
      {"STR(VALOR,4)", 'C', 4, "****"},
      {"STR(NEG,4)", 'C', 4, "  -1"},
      {"STR(0.4,3)", 'C', 3, "  0"},
      {"STRZERO(-5,4)", 'C', 4, "-005"},
      {"STRZERO(123,2)", 'C', 2, "**"},
      {"STRZ(7,3)", 'C', 3, "007"},
      // substrings, xBase rules
      {"SUBSTR(CPF,4,3)", 'C', 3, "456"},
      {"SUBSTR(CPF,10)", 'C', 2, "09"},
      {"SUBSTR(CPF,-2)", 'C', 2, "09"},
      {"SUBSTR(CPF,0,2)", 'C', 2, "12"},
      {"SUBSTR(CPF,20,2)", 'C', 0, ""},
      {"SUBS(CPF,I6_3,2)", 'C', 11, "34         "},
      {"LEFT(CPF,3)+RIGHT(CPF,2)", 'C', 5, "12309"},
      {"LEFT(CPF,30)", 'C', 11, "12345678909"},
      {"ALLTRIM('  a b  ')+'|'", 'C', 8, "a b|    "},
      {"TRIM(NOMECONTR)+'|'", 'C', 21, "Jos\x82 da Silva|       "},
      {"LTRIM(STR(I7_0,4))", 'C', 4, "17  "},
      {"'ab  ' - 'cd'", 'C', 6, "abcd  "},
      {"PADL('7',3,'0')", 'C', 3, "007"},
      {"LOWER('\xC7O')", 'C', 2, "\xC6o"},
      {"IIF(ATIVO,'sim','n')", 'C', 3, "sim"},
      {"IIF(.NOT. ATIVO,'sim','n')", 'C', 3, "n  "},
      // numbers
      {"I7_0*2+1", 'N', 8, "35.0000"},
      {"VALOR/0", 'N', 8, "0.0000"},
      {"-I7_0 % 5", 'N', 8, "3.0000"},
      {"VAL('  12.5x')", 'N', 8, "12.5000"},
      {"LEN(NOMECONTR)", 'N', 8, "20.0000"},
      {"ROUND(2.345,2)", 'N', 8, "2.3500"},
      {"YEAR(DT_LC)*100+MONTH(DT_LC)", 'N', 8, "201404.0000"},
      {"DT_LC-DATAG", 'N', 8, "118.0000"},
      // dates
      {"DT_LC+1", 'D', 8, "20140501"},
      {"CTOD('31/12/2013')", 'D', 8, "20131231"},
      {"{01/02/2014}-1", 'D', 8, "20140131"},
      {"CTOD('32/13/2014')", 'D', 8, "        "},
      // logicals and comparisons
      {"CPF = '123'", 'L', 1, "T"},
      {"'123' = CPF", 'L', 1, "F"},
      {"CPF == '123'", 'L', 1, "F"},
      {"CPF <> '9' .AND. I7_0 >= 17", 'L', 1, "T"},
      {"'Silva' $ NOMECONTR .OR. .F.", 'L', 1, "T"},
      {"!EMPTY(CPF) .and. EMPTY(SPACE(3))", 'L', 1, "T"},
      {"DT_LC > DATAG .AND. DT_LC # DATAG", 'L', 1, "T"},
      {"EMPTY(CTOD(''))", 'L', 1, "T"},
  };
  TestRecord rec = sample();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string err;
    auto e = Expr::try_compile(c.text, rec, &err);
    ASSERT_TRUE(e.has_value()) << err;
    EXPECT_EQ(e->type(), c.type);
    EXPECT_EQ(e->width(), c.width);
    Value v = e->eval(rec);
    EXPECT_EQ(v.type, c.type);
    if (c.type == 'C') EXPECT_EQ(e->key(rec), c.expect);
    else EXPECT_EQ(show(v), c.expect);
  }
}

TEST(ExprEval, ErrorsNameTheProblem) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"CPFX", "campo desconhecido CPFX"},
      {"CPF+", "incompleta"},
      {"CPF+I7_0", "tipos incompat"},
      {"UPPER(I7_0)", "tipos incompat"},
      {"FOO(CPF)", "desconhecida FOO"},
      {"STR(I7_0,I7_0)", "constante"},
      {"(CPF", "par"},
      {"SUBSTR(CPF)", "faltam argumentos"},
      {"LEFT(CPF,1,2)", "argumentos demais"},
      {"'abc", "texto sem fim"},
      {"CPF CPF", "inesperado"},
      {"OBS", "memo"},
      {"CPF .XOR. CPF", "operador"},
      {"", "vazia"},
      {"{30/02/2014}", "data inv"},
      {"SPACE(70000)", "longo demais"},
      {"CPF ? 1", "inesperado"},
  };
  TestRecord rec = sample();
  for (const auto& [text, part] : cases) {
    SCOPED_TRACE(text);
    std::string err;
    EXPECT_FALSE(Expr::try_compile(text, rec, &err).has_value());
    EXPECT_EQ(err.rfind("Expressão inválida: "_cp.str(), 0), 0u) << err;
    EXPECT_NE(err.find(from_utf8(part)), std::string::npos) << err;
  }
  EXPECT_THROW(Expr::compile("CPF+", rec), ExprError);
}

TEST(ExprEval, DeepNestingIsAnErrorNotACrash) {
  std::string deep(5000, '(');
  deep += "1";
  deep += std::string(5000, ')');
  TestRecord rec = sample();
  std::string err;
  EXPECT_FALSE(Expr::try_compile(deep, rec, &err).has_value());
  EXPECT_NE(err.find("aninhada"), std::string::npos);
}

TEST(ExprEval, NumericAndDateKeysSortAsValues) {
  TestRecord rec = sample();
  Expr e = Expr::compile("VALOR", rec);
  EXPECT_EQ(e.type(), 'N');
  EXPECT_EQ(e.width(), 8);
  const char* values[] = {"-1000.5", "-2.25", "-0.01", "", "0.01", "2", "2.5", "1000000.99"};
  std::string prev;
  for (const char* v : values) {
    rec.set(7, std::string(12 - std::string(v).size(), ' ') + v);
    std::string k = e.key(rec);
    ASSERT_EQ(k.size(), 8u);
    if (!prev.empty()) { EXPECT_LT(prev, k) << v; }
    EXPECT_DOUBLE_EQ(cdx_key_number(k), std::strtod(v, nullptr));
    prev = k;
  }
  EXPECT_EQ(Expr::compile("VALOR", rec).key(rec), cdx_number_key(1000000.99));

  Expr d = Expr::compile("DT_LC", rec);
  EXPECT_EQ(d.type(), 'D');
  EXPECT_EQ(julian_day(Date::ymd(2000, 1, 1)), 2451545);
  EXPECT_EQ(d.key(rec), cdx_number_key(static_cast<double>(julian_day(Date::ymd(2014, 4, 30)))));
  rec.set(5, "");
  EXPECT_EQ(d.key(rec), cdx_number_key(0.0));
  EXPECT_LT(d.key(rec), cdx_date_key(Date::ymd(1, 1, 1)));
}

TEST(ExprEval, WideCharacterKeyKeepsItsWidthAndBlankNumbersAreZero) {
  TestRecord rec = sample();
  Expr e = Expr::compile("DESCRICAO", rec);
  EXPECT_EQ(e.width(), 512);
  std::string k = e.key(rec);
  EXPECT_EQ(k.size(), 512u);
  EXPECT_EQ(k.substr(0, 13), "Casa na praia");
  rec.set(1, "");
  rec.set(7, "***");  // a damaged number reads as 0
  EXPECT_EQ(Expr::compile("CPF+str(I7_0,4)", rec).key(rec), "12345678909   0");
  EXPECT_TRUE(Expr::compile("VALOR = 0", rec).eval(rec).logical);
}

}  // namespace
}  // namespace tx::storage
