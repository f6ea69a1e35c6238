#include "entry/validators.hpp"

#include <algorithm>
#include <cctype>

#include "base/codepage.hpp"
#include "base/xbase.hpp"

namespace tx::entry {

namespace {

std::string t(std::string_view s) { return ALLTRIM(s); }
bool blank(std::string_view s) { return ALLTRIM(s).empty(); }

bool all_digits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

// Codes without blanks; all-digit codes without their leading zeros.
std::string code_key(std::string_view s) {
  std::string c = t(s);
  if (all_digits(c)) {
    std::size_t i = c.find_first_not_of('0');
    c = i == std::string::npos ? "0" : c.substr(i);
  }
  return c;
}
bool same_code(std::string_view a, std::string_view b) { return code_key(a) == code_key(b); }
std::string name_key(std::string_view s) { return UPPER(t(s)); }

CheckResult refuse(std::vector<std::string> msg = {}) {
  CheckResult r;
  r.ok = false;
  r.message = std::move(msg);
  return r;
}

std::string sn_request() { return "Informe com 'S'(Sim) ou 'N'(Não) "_cp; }

bool is_sn(std::string_view v) {
  std::string s = t(v);
  return s == "S" || s == "N";
}

template <class Row, class Key>
std::optional<Row> find_row(const std::vector<Row>& rows, Key key) {
  auto it = std::find_if(rows.begin(), rows.end(), key);
  if (it == rows.end()) return std::nullopt;
  return *it;
}

std::string opposite(std::string_view v) {
  std::string s = t(v);
  return s == "S" ? "N" : s == "N" ? "S" : "";
}

}  // namespace

// ---- reference tables ------------------------------------------------------

bool MemoryReferences::bank(std::string_view code, bool debit_only) const {
  return std::any_of(banks.begin(), banks.end(), [&](const BankRow& b) {
    return same_code(b.code, code) && (!debit_only || b.debit);
  });
}

std::optional<std::string> MemoryReferences::street_type(std::string_view text) const {
  auto r = find_row(street_types, [&](const RefRow& s) { return name_key(s.name) == name_key(text); });
  if (!r) return std::nullopt;
  return r->name;
}

std::optional<MunicipalityRow> MemoryReferences::municipality(std::string_view uf,
                                                              std::string_view name) const {
  std::string want = name_key(name);
  const MunicipalityRow* best = nullptr;
  for (const MunicipalityRow& m : municipalities) {
    if (t(m.uf) != t(uf)) continue;
    std::string k = name_key(m.name);
    if (k.compare(0, want.size(), want) != 0) continue;
    if (!best || k < name_key(best->name)) best = &m;
  }
  if (!best) return std::nullopt;
  return *best;
}

std::optional<RefRow> MemoryReferences::country(std::string_view code) const {
  return find_row(countries, [&](const RefRow& r) { return same_code(r.code, code); });
}
std::optional<EmbassyRow> MemoryReferences::embassy(std::string_view code) const {
  return find_row(embassies, [&](const EmbassyRow& r) { return same_code(r.code, code); });
}
std::optional<RefRow> MemoryReferences::nature_by_code(std::string_view code) const {
  return find_row(natures, [&](const RefRow& r) { return same_code(r.code, code); });
}
std::optional<RefRow> MemoryReferences::nature_by_name(std::string_view name) const {
  return find_row(natures, [&](const RefRow& r) { return name_key(r.name) == name_key(name); });
}
std::optional<RefRow> MemoryReferences::occupation_by_code(std::string_view code) const {
  return find_row(occupations, [&](const RefRow& r) { return same_code(r.code, code); });
}
std::optional<RefRow> MemoryReferences::occupation_by_name(std::string_view name) const {
  return find_row(occupations, [&](const RefRow& r) { return name_key(r.name) == name_key(name); });
}

// ---- the checks --------------------------------------------------------------

const std::vector<std::string> kStateCodes = {
    "AC", "AL", "AP", "AM", "BA", "CE", "DF", "ES", "GO", "MA", "MT", "MS", "MG", "PA",
    "PB", "PR", "PE", "PI", "RN", "RS", "RJ", "RO", "RR", "SC", "SP", "SE", "TO"};

bool state_code(std::string_view text) {
  std::string s = t(text);
  return std::find(kStateCodes.begin(), kStateCodes.end(), s) != kStateCodes.end();
}

namespace {
char mod11(std::string_view digits) {
  int n = static_cast<int>(digits.size());
  int sum = 0;
  for (int i = 0; i < n; ++i) sum += (digits[static_cast<std::size_t>(i)] - '0') * (n + 1 - i);
  int d = 11 - sum % 11;
  if (d >= 10) d = 0;
  return static_cast<char>('0' + d);
}
}  // namespace

std::string receipt_digits(std::string_view base10) {
  if (base10.size() != 10 || !all_digits(base10)) return {};
  std::string s(base10);
  char first = mod11(s);
  char second = mod11(s + first);
  return {first, second};
}

CheckResult VE_LETRSN(std::string_view v) {
  if (blank(v) || is_sn(v)) return {};
  return refuse({"Digite S de sim ou N de não"_cp});
}

CheckResult ESIMOUNAO(std::string_view v) {
  if (is_sn(v)) return {};
  return refuse({sn_request()});
}

CheckResult MENSSIMNAO(std::string_view text) { return refuse({sn_request() + std::string(text)}); }

CheckResult SNAO(std::string_view v) {
  if (is_sn(v)) return {};
  return refuse({"Digite S de sim ou N de Não"_cp});
}

CheckResult XOUNAO(std::string_view v) {
  std::string s = t(v);
  if (s == "1" || s == "2" || s == "3") return {};
  return refuse({"Informe o número correto"_cp});
}

CheckResult VETITUT(std::string_view v, int mode) {
  if (mode == 2) return t(v) == "N" ? CheckResult{} : refuse();
  if (is_sn(v)) return {};
  return refuse({"Informe com 'S'(Sim) se do titular ou 'N'(Não) se dos dependentes."_cp});
}

CheckResult VESIGLA(std::string_view v) {
  if (state_code(v) || t(v) == "EX") return {};
  return refuse();
}

CheckResult VEEST(std::string_view state) {
  if (!state_code(state)) return refuse({"Informe a Sigla do Estado"});
  CheckResult r;
  r.choose = "ECACIDAD";
  return r;
}

CheckResult VENROREC(std::string_view number, std::string_view field) {
  std::string d = t(number);
  if (d.empty()) return {};
  if (all_digits(d)) {
    if (d.size() == 12 && receipt_digits(d.substr(0, 10)) == d.substr(10)) return {};
    if (d.size() == 10) {
      CheckResult r;
      r.sets.push_back({std::string(field), d + receipt_digits(d)});
      return r;
    }
  }
  return refuse({"Número do recibo inválido"_cp});
}

CheckResult VE_RETIF(std::string_view v, std::string_view reciboatu) {
  CheckResult r = VE_LETRSN(v);
  if (r.ok && t(v) == "S" && !blank(reciboatu)) {
    r.sets.push_back({"NRORECIBO", std::string(reciboatu)});
    r.sets.push_back({"RECIBOATU", std::string()});
  }
  return r;
}

CheckResult QUALBAN(const References& refs, std::string_view code, bool jump_pending,
                    bool tax_to_pay, std::string_view debitaut) {
  if (blank(code) || jump_pending) return {};
  bool debit_only = tax_to_pay && t(debitaut) == "S";
  if (refs.bank(code, debit_only)) return {};
  // Not a bank the official program takes: refused until one is picked.
  CheckResult r = refuse({"A maioria dos bancos estão autorizados a receber os depósitos "_cp,
                          "da restituição, porém para o débito automático são poucos. "_cp,
                          "A lista mostrada a seguir é a mesma do programa Receita Federal. "_cp,
                          "Se o código do banco não estiver nessa relação não será aceito "_cp,
                          "quando for enviado para o programa da receita.          "_cp});
  r.choose = "BANCOS";
  return r;
}

CheckResult CECK_EXTERIOR(std::string_view v, Residence which) {
  if (!is_sn(v)) return refuse({sn_request()});
  CheckResult r;
  r.sets.push_back({which == Residence::Brazil ? "EXTERIOR" : "EBRASIL", opposite(v)});
  return r;
}

CheckResult VELOGRA(const References& refs, std::string_view text, bool abroad) {
  CheckResult r;
  if (abroad) return r;
  if (auto s = refs.street_type(UPPER(t(text)))) {
    r.sets.push_back({"TIPOEND", *s});
  } else {
    r.choose = "TABLOGR";
  }
  return r;
}

CheckResult VEESTADO(const References& refs, std::string_view uf, std::string_view municipio,
                     bool on_state_field) {
  CheckResult r;
  std::string state;
  if (state_code(uf)) {
    r.sets.push_back({"CODPAIS", std::string()});
    r.sets.push_back({"CODEMB", std::string()});
    state = t(uf);
  }
  // The municipality comes next: a state left with none yet is not looked up.
  if (on_state_field && blank(municipio)) return r;
  if (!blank(municipio)) {
    if (auto m = refs.municipality(state, municipio)) {
      r.sets.push_back({"MUNICIPIO", m->name});
      r.sets.push_back({"CODMUNI", m->code});
      return r;
    }
  }
  // Nothing found: refused until a municipality is picked from the list.
  r.ok = false;
  r.sets.clear();
  r.choose = "TABMUNI";
  return r;
}

CheckResult VE_PAIS(const References& refs, std::string_view codpais, std::string_view codemb) {
  CheckResult r;
  auto c = refs.country(codpais);
  auto e = refs.embassy(codemb);
  if (!c) r.choose = "TABPAIS";
  else if (!e) r.choose = "TABEMBA";
  r.shown["pais"] = PADR(c ? c->name : std::string(), 40);
  std::string emb;
  if (e) emb = t(e->city) + ", " + t(e->country) + ", " + t(e->rep);
  r.shown["embaixada"] = PADR(emb, 62);
  return r;
}

namespace {

// NAT_OCU and VERPROF: the code or the name sought; an exact match sets both.
CheckResult code_or_name(std::optional<RefRow> row, const char* code_field, const char* name_field,
                         const char* table) {
  if (!row) {
    CheckResult r = refuse();
    r.choose = table;
    return r;
  }
  CheckResult r;
  r.sets.push_back({code_field, row->code});
  r.sets.push_back({name_field, row->name});
  return r;
}

}  // namespace

CheckResult NAT_OCU(const References& refs, LookupBy by, std::string_view v) {
  if (blank(v)) return {};
  CheckResult r = by == LookupBy::Code
                      ? code_or_name(refs.nature_by_code(v), "CODAT", "DESCRAT", "CODNATUR")
                      : code_or_name(refs.nature_by_name(v), "CODAT", "DESCRAT", "CODNATUR");
  std::string code = r.ok ? t(std::get<std::string>(r.sets.front().value)) : std::string();
  if (code_key(code) == "81") {
    r.message = {"O código "_cp + code + " não tem a ocupação principal"_cp};
    r.sets.push_back({"CDPRO", std::string()});
    r.sets.push_back({"OCUPACAO", std::string()});
  }
  return r;
}

CheckResult VERPROF(const References& refs, LookupBy by, std::string_view v) {
  // A blank code is left for the name (or, for nature 81, the field is skipped).
  if (blank(v)) return {};
  return by == LookupBy::Code
             ? code_or_name(refs.occupation_by_code(v), "CDPRO", "OCUPACAO", "OCUPACAO")
             : code_or_name(refs.occupation_by_name(v), "CDPRO", "OCUPACAO", "OCUPACAO");
}

CheckResult DIZANOS(Date birth, Date today) {
  CheckResult r;
  if (birth.empty() || birth > Date::ymd(2013, 12, 31)) {
    r.shown["anos"] = SPACE(3);
    r.shown["meses"] = SPACE(2);
  } else {
    r.shown["anos"] = PADL(std::to_string(2013 - birth.year()), 3);
    r.shown["meses"] = PADL(std::to_string(12 - birth.month()), 2);
  }
  if (birth.empty() || today.empty() || today.month() != birth.month()) return r;
  int ahead = birth.day() - today.day();
  if (ahead == 0) {
    r.shown["aniversario"] = "Faz Aniversário Hoje  "_cp;
  } else if (ahead == 1) {
    r.shown["aniversario"] = "Faz Aniversário Amanha"_cp;
  } else if (ahead >= 2 && ahead <= 5) {
    static const std::vector<std::string> days = {
        "o Domingo", "a Segunda", "a Terça  "_cp, "a Quarta ", "a Quinta ", "a Sexta  ",
        "o Sábado "_cp};
    Date when = Date::ymd(today.year(), birth.month(), birth.day());
    if (!when.empty())
      r.shown["aniversario"] = "Aniversário n"_cp + days[static_cast<std::size_t>(when.dow() - 1)];
  }
  return r;
}

std::vector<Assign> clear_spouse_values() {
  std::vector<Assign> s;
  for (const char* f : {"I13_1C", "I13_2C", "I13_3C", "I13_4C", "I13_5C", "I9_2", "I9_3", "I13_43"})
    s.push_back({f, Decimal(0)});
  return s;
}

CheckResult CPF_CONJU(std::string_view cpf, const CpfCheck& check) {
  if (check) {
    IdVerdict v = check(cpf, false);
    if (!v.ok) return refuse(v.message);
  }
  CheckResult r;
  if (blank(cpf)) {
    r.sets.push_back({"I9_4", std::string("N")});
    for (Assign& a : clear_spouse_values()) r.sets.push_back(std::move(a));
  }
  return r;
}

CheckResult PRENC_MANU(std::string_view v) {
  CheckResult r;
  if (t(v) == "S") {
    r.message = {"Atenção! Somente deve-se lançar valores aqui se essa    "_cp,
                 "declaração for a que contiver os bens em comuns do casal."_cp,
                 "Isso feito errado é motivo para glosar uma declaração!   "_cp};
    r.sets.push_back({"CONJPAD", std::string("S")});
  } else if (t(v) == "N") {
    r.sets = clear_spouse_values();
  }
  return r;
}

CheckResult VESEFINAL(std::string_view v, EstateFlag which, std::string_view on_entry,
                      std::string_view decjudi, Decimal qtd_quota) {
  if (!is_sn(v))
    return refuse({sn_request() + (which == EstateFlag::Final ? "se é uma declaração final."_cp.str()
                                                              : std::string("se foi judicial."))});
  CheckResult r;
  bool changed = t(v) != t(on_entry);
  if (which == EstateFlag::Judicial) {
    r.shown["escritura"] = opposite(v);
    if (changed) {
      r.restart = true;
      r.sets = {{"OCUPACAO", std::string()}, {"EMAIL", std::string()}, {"TITULO", std::string()},
                {"USAPADRAO", std::string("N")}, {"DATASAIDA", Date()},
                {"DECSAIDA", std::string("N")}};
      if (qtd_quota > Decimal(1)) r.sets.push_back({"QTD_QUOTA", Decimal(1)});
    }
  } else {
    if (blank(decjudi)) r.sets.push_back({"DECJUDI", std::string("S")});
    r.restart = changed;
  }
  return r;
}

CheckResult VEMORTE(std::string_view v) {
  if (!is_sn(v)) return refuse({sn_request()});
  CheckResult r;
  if (t(v) == "N")
    r.sets = {{"INVCONJ", std::string()}, {"CPFCOMPA", std::string()}, {"NOMCOMPA", std::string()}};
  return r;
}

CheckResult VAL_DATDEC(Date decision, Date partition) {
  if (!decision.empty() && !partition.empty() && decision < partition)
    return refuse({"A data da decisão em julgado deve"_cp, "ser superior a data da partilha."});
  return {};
}

CheckResult VESESAIDA(std::string_view v) {
  CheckResult r;
  if (t(v) == "S") {
    r.sets = {{"DECFINAL", std::string("N")}, {"USAPADRAO", std::string("N")},
              {"QTD_QUOTA", Decimal(1)}};
  } else if (t(v) == "N") {
    // Not a departure: neither of its dates stays.
    r.sets = {{"DATASAIDA", Date()}, {"DATADECIS", Date()}};
  } else {
    return refuse({sn_request() + "se é uma declaração saída."_cp});
  }
  return r;
}

CheckResult ANO_CERTO(Date d, DepartureDate which, Date datasaida) {
  if (d.empty()) return {};
  if (d.year() != 2013)
    return refuse({"O programa destina-se apenas a saída Definitiva ocorrida em 2013"_cp});
  if (which == DepartureDate::Residence && !datasaida.empty() && d > datasaida)
    return refuse({"A data de residente deve ser anterior a de saída"_cp});
  return {};
}

// ---- by name -----------------------------------------------------------------

const Validator* Validators::find(std::string_view name) const {
  auto it = table_.find(name);
  return it == table_.end() ? nullptr : &it->second;
}

std::vector<std::string> Validators::names() const {
  std::vector<std::string> n;
  for (const auto& [k, v] : table_) n.push_back(k);
  return n;
}

namespace {

std::string as_text(const GetValue& v) {
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  return {};
}
Date as_date(const GetValue& v) {
  if (const auto* d = std::get_if<Date>(&v)) return *d;
  return {};
}
Decimal as_number(const GetValue& v) {
  if (const auto* d = std::get_if<Decimal>(&v)) return *d;
  return Decimal(0);
}

// The field left reads as typed; the others from the record.
GetValue field(const CheckInput& in, std::string_view name) {
  if (in.field == name) return in.value;
  if (in.get) return in.get(name);
  return std::string();
}
std::string text(const CheckInput& in, std::string_view name) { return as_text(field(in, name)); }
std::string typed(const CheckInput& in) { return as_text(in.value); }

const References& refs_of(const CheckInput& in) {
  static const MemoryReferences none;
  return in.refs ? *in.refs : none;
}

Validators build() {
  Validators v;
  v.add("VE_LETRSN", [](const CheckInput& in) { return VE_LETRSN(typed(in)); });
  v.add("ESIMOUNAO", [](const CheckInput& in) { return ESIMOUNAO(typed(in)); });
  v.add("MENSSIMNAO", [](const CheckInput& in) { return MENSSIMNAO(in.arg); });
  v.add("SNAO", [](const CheckInput& in) { return SNAO(typed(in)); });
  v.add("XOUNAO", [](const CheckInput& in) { return XOUNAO(typed(in)); });
  v.add("VETITUT", [](const CheckInput& in) {
    return VETITUT(typed(in), t(in.arg) == "2" ? 2 : 1);
  });
  v.add("VESIGLA", [](const CheckInput& in) { return VESIGLA(typed(in)); });
  v.add("VEEST", [](const CheckInput& in) { return VEEST(typed(in)); });
  v.add("VENROREC", [](const CheckInput& in) {
    return VENROREC(typed(in), in.field.empty() ? "NRORECIBO" : in.field);
  });
  v.add("VE_RETIF", [](const CheckInput& in) { return VE_RETIF(typed(in), text(in, "RECIBOATU")); });
  v.add("QUALBAN", [](const CheckInput& in) {
    return QUALBAN(refs_of(in), typed(in), in.jump_pending,
                   as_number(field(in, "I13_36")) > Decimal(0), text(in, "DEBITAUT"));
  });
  v.add("CECK_EXTERIOR", [](const CheckInput& in) {
    return CECK_EXTERIOR(typed(in), in.field == "EXTERIOR" ? Residence::Abroad : Residence::Brazil);
  });
  v.add("VELOGRA", [](const CheckInput& in) {
    return VELOGRA(refs_of(in), typed(in), t(text(in, "EXTERIOR")) == "S");
  });
  v.add("VEESTADO", [](const CheckInput& in) {
    return VEESTADO(refs_of(in), text(in, "UF"), text(in, "MUNICIPIO"), in.field == "UF");
  });
  v.add("VE_PAIS", [](const CheckInput& in) {
    return VE_PAIS(refs_of(in), text(in, "CODPAIS"), text(in, "CODEMB"));
  });
  v.add("NAT_OCU", [](const CheckInput& in) {
    return NAT_OCU(refs_of(in), in.field == "DESCRAT" ? LookupBy::Name : LookupBy::Code, typed(in));
  });
  v.add("VERPROF", [](const CheckInput& in) {
    return VERPROF(refs_of(in), in.field == "OCUPACAO" ? LookupBy::Name : LookupBy::Code, typed(in));
  });
  v.add("DIZANOS", [](const CheckInput& in) { return DIZANOS(as_date(in.value), in.today); });
  v.add("CPF_CONJU", [](const CheckInput& in) { return CPF_CONJU(typed(in), in.cpf); });
  v.add("PRENC_MANU", [](const CheckInput& in) { return PRENC_MANU(typed(in)); });
  v.add("VESEFINAL", [](const CheckInput& in) {
    EstateFlag which = in.field == "DECJUDI" ? EstateFlag::Judicial : EstateFlag::Final;
    const FieldGetter& at_entry = in.on_entry ? in.on_entry : in.get;
    std::string before = at_entry ? as_text(at_entry(in.field)) : std::string();
    return VESEFINAL(typed(in), which, before, text(in, "DECJUDI"),
                     as_number(field(in, "QTD_QUOTA")));
  });
  v.add("VEMORTE", [](const CheckInput& in) { return VEMORTE(typed(in)); });
  v.add("VAL_DATDEC", [](const CheckInput& in) {
    return VAL_DATDEC(as_date(in.value), as_date(field(in, "DATAPARTI")));
  });
  v.add("VESESAIDA", [](const CheckInput& in) { return VESESAIDA(typed(in)); });
  v.add("ANO_CERTO", [](const CheckInput& in) {
    return ANO_CERTO(as_date(in.value),
                     in.field == "DATADECIS" ? DepartureDate::Residence : DepartureDate::Departure,
                     as_date(field(in, "DATASAIDA")));
  });
  return v;
}

}  // namespace

const Validators& validators() {
  static const Validators table = build();
  return table;
}

}  // namespace tx::entry
