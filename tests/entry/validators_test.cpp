#include "entry/validators.hpp"

#include <gtest/gtest.h>

#include <map>

#include "base/codepage.hpp"

namespace tx::entry {
namespace {

using Msg = std::vector<std::string>;

struct Case {
  std::string value;
  bool ok;
  Msg message;
};

void expect_table(CheckResult (*fn)(std::string_view), const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    CheckResult r = fn(c.value);
    EXPECT_EQ(r.ok, c.ok) << "[" << c.value << "]";
    EXPECT_EQ(r.message, c.message) << "[" << c.value << "]";
  }
}

std::string sn() { return "Informe com 'S'(Sim) ou 'N'(Não) "_cp; }

std::string sets_text(const CheckResult& r, const std::string& f) {
  for (const Assign& a : r.sets)
    if (a.field == f) return std::get<std::string>(a.value);
  return "<unset>";
}
bool sets(const CheckResult& r, const std::string& f) {
  for (const Assign& a : r.sets)
    if (a.field == f) return true;
  return false;
}

TEST(Validators, YesNoBlank) {
  Msg m = {"Digite S de sim ou N de não"_cp};
  expect_table(VE_LETRSN, {{"", true, {}}, {" ", true, {}}, {"S", true, {}}, {"N", true, {}},
                           {"X", false, m}, {"1", false, m}, {"SN", false, m}});
}

TEST(Validators, YesNo) {
  Msg m = {sn()};
  expect_table(ESIMOUNAO, {{"S", true, {}}, {"N", true, {}}, {"", false, m}, {"X", false, m}});
  Msg m2 = {"Digite S de sim ou N de Não"_cp};
  expect_table(SNAO, {{"S", true, {}}, {"N", true, {}}, {" ", false, m2}, {"Y", false, m2}});
}

TEST(Validators, MenssimnaoAlwaysRefuses) {
  CheckResult r = MENSSIMNAO("se optou.");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, Msg{sn() + "se optou."});
}

TEST(Validators, OneToThree) {
  Msg m = {"Informe o número correto"_cp};
  expect_table(XOUNAO, {{"1", true, {}}, {"2", true, {}}, {"3", true, {}}, {"0", false, m},
                        {"4", false, m}, {"", false, m}});
}

TEST(Validators, Titular) {
  Msg m = {"Informe com 'S'(Sim) se do titular ou 'N'(Não) se dos dependentes."_cp};
  EXPECT_TRUE(VETITUT("S", 1).ok);
  EXPECT_TRUE(VETITUT("N", 1).ok);
  EXPECT_EQ(VETITUT("X", 1).message, m);
  EXPECT_FALSE(VETITUT("X", 1).ok);
  EXPECT_TRUE(VETITUT("N", 2).ok);
  CheckResult r = VETITUT("S", 2);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.message.empty());
}

TEST(Validators, StateCodes) {
  ASSERT_EQ(kStateCodes.size(), 27u);
  for (const std::string& s : kStateCodes) {
    EXPECT_TRUE(VESIGLA(s).ok) << s;
    EXPECT_TRUE(VEEST(s).ok) << s;
  }
  EXPECT_TRUE(VESIGLA("EX").ok);
  expect_table(VESIGLA, {{"XX", false, {}}, {"", false, {}}, {"sp", false, {}}});
  CheckResult ex = VEEST("EX");
  EXPECT_FALSE(ex.ok);
  EXPECT_EQ(ex.message, Msg{"Informe a Sigla do Estado"});
  EXPECT_EQ(VEEST("RJ").choose, "ECACIDAD");
}

TEST(Validators, ReceiptNumbers) {
  std::string base = "1234567890";
  std::string dv = receipt_digits(base);
  ASSERT_EQ(dv.size(), 2u);
  // weights 11..2 over 1234567890: 11+20+27+32+35+36+35+32+27+0 = 255, 255 % 11 = 2 -> 9
  EXPECT_EQ(dv[0], '9');
  // weights 12..2 over 12345678909: 12+22+30+36+40+42+42+40+36+0+18 = 318, 318 % 11 = 10 -> 1
  EXPECT_EQ(dv[1], '1');
  Msg bad = {"Número do recibo inválido"_cp};
  EXPECT_TRUE(VENROREC("", "NRORECIBO").ok);
  EXPECT_TRUE(VENROREC("            ", "NRORECIBO").ok);
  CheckResult full = VENROREC("123456789091", "RECIBOATU");
  EXPECT_TRUE(full.ok);
  EXPECT_TRUE(full.sets.empty());
  CheckResult completed = VENROREC("1234567890  ", "RECIBOANT");
  EXPECT_TRUE(completed.ok);
  EXPECT_EQ(sets_text(completed, "RECIBOANT"), "123456789091");
  for (const char* v : {"123456789092", "12345678909", "123", "12345678A091", "1234567890911"}) {
    CheckResult r = VENROREC(v, "NRORECIBO");
    EXPECT_FALSE(r.ok) << v;
    EXPECT_EQ(r.message, bad) << v;
  }
}

TEST(Validators, Retification) {
  CheckResult r = VE_RETIF("S", "123456789091");
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(sets_text(r, "NRORECIBO"), "123456789091");
  EXPECT_EQ(sets_text(r, "RECIBOATU"), "");
  EXPECT_TRUE(VE_RETIF("S", "   ").sets.empty());
  EXPECT_TRUE(VE_RETIF("N", "123456789091").sets.empty());
  EXPECT_FALSE(VE_RETIF("X", "").ok);
}

MemoryReferences refs() {
  MemoryReferences m;
  m.banks = {{"001", "BANCO UM", true}, {"237", "BANCO DOIS", false}};
  m.street_types = {{"", "Rua"}, {"", "Avenida"}};
  m.municipalities = {{"7107", "SAO PAULO", "SP"}, {"6001", "RIO DE JANEIRO", "RJ"},
                      {"7105", "SANTOS", "SP"}, {"7111", "SANTO ANDRE", "SP"},
                      {"9701", "LISBOA", ""}};
  m.countries = {{"105", "BRASIL"}, {"607", "PORTUGAL"}};
  m.embassies = {{"12", "LISBOA ", "PORTUGAL", "EMBAIXADA"}};
  m.natures = {{"11", "EMPREGADO DE EMPRESA"}, {"81", "APOSENTADO"}};
  m.occupations = {{"212", "ADVOGADO"}, {"410", "PROFESSOR"}};
  return m;
}

TEST(Validators, Banks) {
  MemoryReferences m = refs();
  EXPECT_TRUE(QUALBAN(m, "   ", false, true, "S").ok);
  EXPECT_TRUE(QUALBAN(m, "999", true, false, "").ok);  // a screen jump is pending
  EXPECT_TRUE(QUALBAN(m, "237", false, false, "S").ok);
  EXPECT_TRUE(QUALBAN(m, "237", false, true, "N").ok);
  EXPECT_TRUE(QUALBAN(m, "  1", false, true, "S").ok);
  for (auto [code, tax, deb] : {std::tuple{"237", true, "S"}, std::tuple{"999", false, ""}}) {
    CheckResult r = QUALBAN(m, code, false, tax, deb);
    EXPECT_FALSE(r.ok) << code;
    EXPECT_EQ(r.choose, "BANCOS");
    ASSERT_EQ(r.message.size(), 5u);
    EXPECT_EQ(r.message[0], "A maioria dos bancos estão autorizados a receber os depósitos "_cp.str());
    EXPECT_EQ(r.message[4], "quando for enviado para o programa da receita.          "_cp.str());
  }
}

TEST(Validators, ResidenceFlags) {
  CheckResult b = CECK_EXTERIOR("S", Residence::Brazil);
  EXPECT_TRUE(b.ok);
  EXPECT_EQ(sets_text(b, "EXTERIOR"), "N");
  CheckResult a = CECK_EXTERIOR("S", Residence::Abroad);
  EXPECT_EQ(sets_text(a, "EBRASIL"), "N");
  EXPECT_EQ(sets_text(CECK_EXTERIOR("N", Residence::Abroad), "EBRASIL"), "S");
  CheckResult x = CECK_EXTERIOR("", Residence::Brazil);
  EXPECT_FALSE(x.ok);
  EXPECT_EQ(x.message, Msg{sn()});
}

TEST(Validators, StreetTypes) {
  MemoryReferences m = refs();
  CheckResult r = VELOGRA(m, "rua", false);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(sets_text(r, "TIPOEND"), "Rua");
  CheckResult l = VELOGRA(m, "BECO", false);
  EXPECT_TRUE(l.ok);
  EXPECT_EQ(l.choose, "TABLOGR");
  CheckResult abroad = VELOGRA(m, "BECO", true);
  EXPECT_TRUE(abroad.choose.empty());
}

TEST(Validators, StateAndMunicipality) {
  MemoryReferences m = refs();
  CheckResult r = VEESTADO(m, "SP", "santo", false);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(sets_text(r, "MUNICIPIO"), "SANTO ANDRE");
  EXPECT_EQ(sets_text(r, "CODMUNI"), "7111");
  EXPECT_EQ(sets_text(r, "CODPAIS"), "");
  EXPECT_EQ(sets_text(r, "CODEMB"), "");
  // Restricted to the state typed.
  CheckResult other = VEESTADO(m, "RJ", "SANTOS", false);
  EXPECT_FALSE(other.ok);
  EXPECT_EQ(other.choose, "TABMUNI");
  EXPECT_TRUE(other.sets.empty());
  // The state left before any municipality is typed.
  CheckResult state_only = VEESTADO(m, "SP", "", true);
  EXPECT_TRUE(state_only.ok);
  EXPECT_FALSE(sets(state_only, "MUNICIPIO"));
  EXPECT_FALSE(VEESTADO(m, "SP", "", false).ok);
  // Not a state: the places without a state.
  CheckResult ex = VEESTADO(m, "EX", "LIS", false);
  EXPECT_TRUE(ex.ok);
  EXPECT_EQ(sets_text(ex, "CODMUNI"), "9701");
  EXPECT_FALSE(sets(ex, "CODPAIS"));
}

TEST(Validators, CountryAndEmbassy) {
  MemoryReferences m = refs();
  CheckResult r = VE_PAIS(m, "607", "12");
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(r.choose.empty());
  EXPECT_EQ(r.shown["pais"], "PORTUGAL" + std::string(32, ' '));
  EXPECT_EQ(r.shown["embaixada"].size(), 62u);
  EXPECT_EQ(r.shown["embaixada"].substr(0, 30), "LISBOA, PORTUGAL, EMBAIXADA   ");
  EXPECT_EQ(VE_PAIS(m, "999", "12").choose, "TABPAIS");
  CheckResult e = VE_PAIS(m, "607", "99");
  EXPECT_TRUE(e.ok);
  EXPECT_EQ(e.choose, "TABEMBA");
}

TEST(Validators, Nature) {
  MemoryReferences m = refs();
  CheckResult blank = NAT_OCU(m, LookupBy::Code, "  ");
  EXPECT_TRUE(blank.ok);
  EXPECT_TRUE(blank.sets.empty());
  CheckResult code = NAT_OCU(m, LookupBy::Code, "11");
  EXPECT_TRUE(code.ok);
  EXPECT_EQ(sets_text(code, "DESCRAT"), "EMPREGADO DE EMPRESA");
  EXPECT_TRUE(code.message.empty());
  CheckResult name = NAT_OCU(m, LookupBy::Name, "empregado de empresa");
  EXPECT_EQ(sets_text(name, "CODAT"), "11");
  CheckResult none = NAT_OCU(m, LookupBy::Code, "55");
  EXPECT_FALSE(none.ok);
  EXPECT_EQ(none.choose, "CODNATUR");
  EXPECT_FALSE(NAT_OCU(m, LookupBy::Name, "EMPREGADO").ok);  // exact names only
  CheckResult retired = NAT_OCU(m, LookupBy::Code, "81");
  EXPECT_TRUE(retired.ok);
  EXPECT_EQ(retired.message, Msg{"O código 81 não tem a ocupação principal"_cp});
  EXPECT_EQ(sets_text(retired, "CDPRO"), "");
  EXPECT_EQ(sets_text(retired, "OCUPACAO"), "");
}

TEST(Validators, Occupation) {
  MemoryReferences m = refs();
  EXPECT_TRUE(VERPROF(m, LookupBy::Code, "   ").ok);
  CheckResult code = VERPROF(m, LookupBy::Code, "410");
  EXPECT_EQ(sets_text(code, "OCUPACAO"), "PROFESSOR");
  CheckResult name = VERPROF(m, LookupBy::Name, "advogado");
  EXPECT_EQ(sets_text(name, "CDPRO"), "212");
  CheckResult none = VERPROF(m, LookupBy::Code, "999");
  EXPECT_FALSE(none.ok);
  EXPECT_EQ(none.choose, "OCUPACAO");
}

TEST(Validators, Age) {
  Date today = Date::ymd(2014, 3, 10);
  CheckResult r = DIZANOS(Date::ymd(1970, 5, 20), today);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.shown["anos"], " 43");
  EXPECT_EQ(r.shown["meses"], " 7");
  EXPECT_EQ(r.shown.count("aniversario"), 0u);
  EXPECT_EQ(DIZANOS(Date(), today).shown["anos"], "   ");
  CheckResult late = DIZANOS(Date::ymd(2014, 1, 2), today);
  EXPECT_EQ(late.shown["anos"], "   ");
  EXPECT_EQ(late.shown["meses"], "  ");
  EXPECT_EQ(DIZANOS(Date::ymd(1980, 12, 31), today).shown["meses"], " 0");
}

TEST(Validators, Birthday) {
  Date today = Date::ymd(2014, 3, 10);  // a Monday
  EXPECT_EQ(DIZANOS(Date::ymd(1970, 3, 10), today).shown["aniversario"],
            "Faz Aniversário Hoje  "_cp.str());
  EXPECT_EQ(DIZANOS(Date::ymd(1970, 3, 11), today).shown["aniversario"],
            "Faz Aniversário Amanha"_cp.str());
  EXPECT_EQ(DIZANOS(Date::ymd(1970, 3, 12), today).shown["aniversario"],
            "Aniversário na Quarta "_cp.str());
  EXPECT_EQ(DIZANOS(Date::ymd(1970, 3, 15), today).shown["aniversario"],
            "Aniversário no Sábado "_cp.str());
  EXPECT_EQ(DIZANOS(Date::ymd(1970, 3, 16), today).shown.count("aniversario"), 0u);
  EXPECT_EQ(DIZANOS(Date::ymd(1970, 3, 9), today).shown.count("aniversario"), 0u);
  EXPECT_EQ(DIZANOS(Date::ymd(1970, 4, 10), today).shown.count("aniversario"), 0u);
}

TEST(Validators, SpouseCpf) {
  CpfCheck check = [](std::string_view cpf, bool required) {
    EXPECT_FALSE(required);
    if (cpf == "11111111111") return IdVerdict{false, {"CPF errado"}};
    return IdVerdict{};
  };
  CheckResult bad = CPF_CONJU("11111111111", check);
  EXPECT_FALSE(bad.ok);
  EXPECT_EQ(bad.message, Msg{"CPF errado"});
  CheckResult good = CPF_CONJU("52998224725", check);
  EXPECT_TRUE(good.ok);
  EXPECT_TRUE(good.sets.empty());
  CheckResult blank = CPF_CONJU("           ", check);
  EXPECT_TRUE(blank.ok);
  EXPECT_EQ(sets_text(blank, "I9_4"), "N");
  EXPECT_TRUE(sets(blank, "I13_5C"));
  EXPECT_TRUE(sets(blank, "I13_43"));
}

TEST(Validators, SpouseByHand) {
  CheckResult s = PRENC_MANU("S");
  EXPECT_TRUE(s.ok);
  ASSERT_EQ(s.message.size(), 3u);
  EXPECT_EQ(s.message[2], "Isso feito errado é motivo para glosar uma declaração!   "_cp.str());
  EXPECT_EQ(sets_text(s, "CONJPAD"), "S");
  CheckResult n = PRENC_MANU("N");
  EXPECT_TRUE(n.ok);
  EXPECT_EQ(n.sets, clear_spouse_values());
  EXPECT_EQ(clear_spouse_values().size(), 8u);
}

TEST(Validators, EstateFlags) {
  CheckResult bad = VESEFINAL("X", EstateFlag::Final, "N", "", Decimal(1));
  EXPECT_FALSE(bad.ok);
  EXPECT_EQ(bad.message, Msg{sn() + "se é uma declaração final."_cp});
  EXPECT_EQ(VESEFINAL("", EstateFlag::Judicial, "S", "S", Decimal(1)).message,
            Msg{sn() + "se foi judicial."});

  CheckResult fin = VESEFINAL("S", EstateFlag::Final, "N", "", Decimal(1));
  EXPECT_TRUE(fin.ok);
  EXPECT_EQ(sets_text(fin, "DECJUDI"), "S");
  EXPECT_TRUE(fin.restart);
  CheckResult same = VESEFINAL("S", EstateFlag::Final, "S", "N", Decimal(1));
  EXPECT_FALSE(same.restart);
  EXPECT_TRUE(same.sets.empty());

  CheckResult j = VESEFINAL("N", EstateFlag::Judicial, "S", "S", Decimal(3));
  EXPECT_TRUE(j.ok);
  EXPECT_TRUE(j.restart);
  EXPECT_EQ(j.shown["escritura"], "S");
  EXPECT_EQ(sets_text(j, "USAPADRAO"), "N");
  EXPECT_EQ(sets_text(j, "DECSAIDA"), "N");
  EXPECT_EQ(sets_text(j, "OCUPACAO"), "");
  EXPECT_EQ(sets_text(j, "EMAIL"), "");
  EXPECT_EQ(sets_text(j, "TITULO"), "");
  EXPECT_TRUE(sets(j, "DATASAIDA"));
  EXPECT_TRUE((std::find(j.sets.begin(), j.sets.end(), Assign{"QTD_QUOTA", Decimal(1)}) != j.sets.end()));
  CheckResult one = VESEFINAL("N", EstateFlag::Judicial, "S", "S", Decimal(1));
  EXPECT_FALSE(sets(one, "QTD_QUOTA"));
  CheckResult kept = VESEFINAL("S", EstateFlag::Judicial, "S", "S", Decimal(3));
  EXPECT_FALSE(kept.restart);
  EXPECT_TRUE(kept.sets.empty());
  EXPECT_EQ(kept.shown["escritura"], "N");
}

TEST(Validators, BothDead) {
  EXPECT_TRUE(VEMORTE("S").sets.empty());
  CheckResult n = VEMORTE("N");
  EXPECT_TRUE(n.ok);
  EXPECT_EQ(sets_text(n, "INVCONJ"), "");
  EXPECT_EQ(sets_text(n, "CPFCOMPA"), "");
  EXPECT_EQ(sets_text(n, "NOMCOMPA"), "");
  CheckResult x = VEMORTE("?");
  EXPECT_FALSE(x.ok);
  EXPECT_EQ(x.message, Msg{sn()});
}

TEST(Validators, DecisionDate) {
  Date part = Date::ymd(2013, 6, 1);
  EXPECT_TRUE(VAL_DATDEC(Date::ymd(2013, 6, 1), part).ok);
  EXPECT_TRUE(VAL_DATDEC(Date::ymd(2013, 7, 1), part).ok);
  EXPECT_TRUE(VAL_DATDEC(Date(), part).ok);
  CheckResult r = VAL_DATDEC(Date::ymd(2013, 5, 31), part);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, (Msg{"A data da decisão em julgado deve"_cp, "ser superior a data da partilha."}));
}

TEST(Validators, Departure) {
  CheckResult s = VESESAIDA("S");
  EXPECT_TRUE(s.ok);
  EXPECT_EQ(sets_text(s, "DECFINAL"), "N");
  EXPECT_EQ(sets_text(s, "USAPADRAO"), "N");
  EXPECT_TRUE((std::find(s.sets.begin(), s.sets.end(), Assign{"QTD_QUOTA", Decimal(1)}) != s.sets.end()));
  CheckResult n = VESESAIDA("N");
  EXPECT_EQ(n.sets, (std::vector<Assign>{{"DATASAIDA", Date()}, {"DATADECIS", Date()}}));
  EXPECT_FALSE(sets(n, "DATAPARTI"));
  CheckResult x = VESESAIDA("");
  EXPECT_FALSE(x.ok);
  EXPECT_EQ(x.message, Msg{sn() + "se é uma declaração saída."_cp});
}

TEST(Validators, DepartureYear) {
  Msg year = {"O programa destina-se apenas a saída Definitiva ocorrida em 2013"_cp};
  Msg order = {"A data de residente deve ser anterior a de saída"_cp};
  Date out = Date::ymd(2013, 8, 1);
  EXPECT_TRUE(ANO_CERTO(Date(), DepartureDate::Departure, Date()).ok);
  EXPECT_TRUE(ANO_CERTO(out, DepartureDate::Departure, Date()).ok);
  EXPECT_EQ(ANO_CERTO(Date::ymd(2014, 1, 1), DepartureDate::Departure, Date()).message, year);
  EXPECT_EQ(ANO_CERTO(Date::ymd(2012, 12, 31), DepartureDate::Residence, out).message, year);
  EXPECT_TRUE(ANO_CERTO(Date::ymd(2013, 7, 31), DepartureDate::Residence, out).ok);
  EXPECT_TRUE(ANO_CERTO(out, DepartureDate::Residence, out).ok);
  CheckResult after = ANO_CERTO(Date::ymd(2013, 8, 2), DepartureDate::Residence, out);
  EXPECT_FALSE(after.ok);
  EXPECT_EQ(after.message, order);
}

// ---- by name -------------------------------------------------------------------

TEST(ValidatorRegistry, HoldsEveryCheck) {
  for (const char* n : {"VE_LETRSN", "ESIMOUNAO", "MENSSIMNAO", "SNAO", "XOUNAO", "VETITUT", "VESIGLA",
                        "VEEST", "VENROREC", "VE_RETIF", "QUALBAN", "CECK_EXTERIOR", "VELOGRA",
                        "VEESTADO", "VE_PAIS", "NAT_OCU", "VERPROF", "DIZANOS", "CPF_CONJU",
                        "PRENC_MANU", "VESEFINAL", "VEMORTE", "VAL_DATDEC", "VESESAIDA", "ANO_CERTO"})
    EXPECT_NE(validators().find(n), nullptr) << n;
  EXPECT_EQ(validators().names().size(), 25u);
  EXPECT_EQ(validators().find("BUSCA_CONJU"), nullptr);
  EXPECT_EQ(validators().find(""), nullptr);
}

CheckResult run(const std::string& name, CheckInput in) {
  const Validator* v = validators().find(name);
  EXPECT_NE(v, nullptr) << name;
  return v ? (*v)(in) : CheckResult{};
}

FieldGetter record(std::map<std::string, GetValue> fields) {
  return [fields](std::string_view f) -> GetValue {
    auto it = fields.find(std::string(f));
    return it == fields.end() ? GetValue(std::string()) : it->second;
  };
}

CheckInput input(std::string field, GetValue value, FieldGetter get) {
  CheckInput in;
  in.field = std::move(field);
  in.value = std::move(value);
  in.get = std::move(get);
  return in;
}

TEST(ValidatorRegistry, ReadsTheRecord) {
  MemoryReferences m = refs();
  CheckInput bank = input("BANCO", std::string("237"), record({{"I13_36", Decimal(10)}, {"DEBITAUT", std::string("S")}}));
  bank.refs = &m;
  EXPECT_FALSE(run("QUALBAN", bank).ok);
  bank.get = record({{"I13_36", Decimal(0)}, {"DEBITAUT", std::string("S")}});
  EXPECT_TRUE(run("QUALBAN", bank).ok);

  CheckInput city = input("MUNICIPIO", std::string("SAO"), record({{"UF", std::string("SP")}}));
  city.refs = &m;
  EXPECT_EQ(sets_text(run("VEESTADO", city), "CODMUNI"), "7107");
  CheckInput state = input("UF", std::string("RJ"), record({{"MUNICIPIO", std::string("RIO")}}));
  state.refs = &m;
  EXPECT_EQ(sets_text(run("VEESTADO", state), "CODMUNI"), "6001");
  state.refs = nullptr;  // no tables: nothing is found
  EXPECT_FALSE(run("VEESTADO", state).ok);

  CheckInput flag = input("EXTERIOR", std::string("S"), record({}));
  EXPECT_EQ(sets_text(run("CECK_EXTERIOR", flag), "EBRASIL"), "N");

  CheckInput rec = input("RECIBOATU", std::string("1234567890"), record({}));
  EXPECT_EQ(sets_text(run("VENROREC", rec), "RECIBOATU"), "123456789091");

  CheckInput dec = input("DATADECIS", Date::ymd(2013, 9, 1), record({{"DATASAIDA", Date::ymd(2013, 8, 1)}}));
  EXPECT_FALSE(run("ANO_CERTO", dec).ok);
  dec.field = "DATASAIDA";
  EXPECT_TRUE(run("ANO_CERTO", dec).ok);

  CheckInput judi = input("DECJUDI", std::string("N"), record({{"QTD_QUOTA", Decimal(2)}}));
  judi.on_entry = record({{"DECJUDI", std::string("S")}});
  EXPECT_TRUE(run("VESEFINAL", judi).restart);
  judi.on_entry = record({{"DECJUDI", std::string("N")}});
  EXPECT_FALSE(run("VESEFINAL", judi).restart);

  CheckInput msg = input("X", std::string(), record({}));
  msg.arg = "se deseja.";
  EXPECT_EQ(run("MENSSIMNAO", msg).message, Msg{sn() + "se deseja."});
  CheckInput tit = input("X", std::string("S"), record({}));
  tit.arg = "2";
  EXPECT_FALSE(run("VETITUT", tit).ok);
  tit.arg = "1";
  EXPECT_TRUE(run("VETITUT", tit).ok);

  CheckInput prof = input("OCUPACAO", std::string("PROFESSOR"), record({}));
  prof.refs = &m;
  EXPECT_EQ(sets_text(run("VERPROF", prof), "CDPRO"), "410");
  CheckInput nat = input("DESCRAT", std::string("APOSENTADO"), record({}));
  nat.refs = &m;
  EXPECT_EQ(sets_text(run("NAT_OCU", nat), "CODAT"), "81");

  CheckInput age = input("NASCIMENTO", Date::ymd(1960, 1, 1), record({}));
  age.today = Date::ymd(2014, 2, 1);
  EXPECT_EQ(run("DIZANOS", age).shown["anos"], " 53");
}

}  // namespace
}  // namespace tx::entry
