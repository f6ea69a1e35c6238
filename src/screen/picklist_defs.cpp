// The pick lists of the entry fields, as one table chosen by field name.
#include <algorithm>

#include "base/codepage.hpp"
#include "base/xbase.hpp"
#include "screen/picklist.hpp"

namespace tx::screen {

namespace {

using F = PickFooting;

const std::string kCpfPicture = "@R 999.999.999-99";
const std::string kMoney = "@E 99,999,999.99";

// Columns of the taxpayer list with its footings.
std::vector<PickColumn> taxpayer_columns() {
  return {
      {"Nome do Contribuinte", "LEFT(NOMECONTR,21)", "", 21, F::Declarations},
      {"CPF", "CPF", kCpfPicture, 0, F::SimplePercent},
      {"Descrição"_cp, "STATUSNAME", "", 13, F::CompletePercent},
      {"AAR", "TEMRURAL", "", 3, F::Rural},
      {"Sim", "USAPADRAO", "", 3, F::Simple},
      {"Impo/Rest.", "IMPPGRE", kMoney, 0, F::SimpleComplete},
      {" % ->", "INDGAS", "@E 999.99", 0},
      {"Qt", "NRQUOTA", "9", 2},
      {"Quota IR", "DFQUOTA", kMoney, 0},
      {"Qt", "NRCLEAO", "99", 2},
      {"Carnê Leao"_cp, "DFCLEAO", kMoney, 0},
      {"Qt", "NRGCAPIT", "99", 2},
      {"Gan.Capital", "DFGCAPIT", kMoney, 0},
      {"Qt", "NRRVARIV", "99", 2},
      {"R.Variável"_cp, "DFRVARIV", kMoney, 0},
      {"Operador", "NOMEAG", "", 22},
  };
}

PickDef taxpayers(std::string_view name, std::vector<std::string_view> fields, std::vector<PickPut> puts) {
  PickDef d;
  d.name = name;
  d.fields = std::move(fields);
  d.table = 9;
  d.columns = taxpayer_columns();
  d.puts = std::move(puts);
  d.order = 2;
  d.digit_order = 1;
  d.letter_order = 2;
  d.taxpayer = true;
  return d;
}

PickDef code_list(std::string_view name, std::vector<std::string_view> fields, int table,
                  std::vector<PickColumn> columns, std::vector<PickPut> puts, int order = 1) {
  PickDef d;
  d.name = name;
  d.fields = std::move(fields);
  d.table = table;
  d.columns = std::move(columns);
  d.puts = std::move(puts);
  d.order = order;
  return d;
}

std::vector<PickDef> build() {
  std::vector<PickDef> t;

  PickDef choice;
  choice.name = "taxpayer choice";
  choice.fields = {"M->CPF", "M->NOMECONTR"};
  choice.mode = 1;
  choice.table = 9;
  choice.columns = {{"Nome do Contribuinte", "NOMECONTR", "", 53}, {"CPF", "CPF", kCpfPicture}};
  choice.puts = {{"M->CPF", "CPF"}};
  choice.order = 2;
  choice.digit_order = 1;
  choice.letter_order = 2;
  choice.taxpayer = true;
  t.push_back(choice);

  t.push_back(taxpayers("taxpayers", {"M->CPF", "M->NOMECONTR"}, {{"M->CPF", "CPF"}}));
  t.push_back(taxpayers("taxpayers for a CPF field", {"M->CPF1", "M->CPF2"}, {{"=", "CPF"}}));
  t.push_back(taxpayers("spouse's folder", {"M->DIRCONJU"}, {{"M->CPFCONJU", "CPF"}}));
  t.push_back(taxpayers("e-mail", {"M->CPFEMAIL"}, {{"M->CPFEMAIL", "CPF"}, {"M->CEMAIL_ENV", "EMAIL"}}));

  PickDef slips = taxpayers("billing slips", {"M->CPFSAC"},
                            {{"M->CPFSAC", "CPF"}, {"M->NOMESAC", "LEFT(NOMECONTR,30)"}, {"M->VALORDOC", "VALOREC"}});
  slips.columns = {{"Nome do Contribuinte", "LEFT(NOMECONTR,30)", "", 30},
                   {"CPF", "CPF", kCpfPicture},
                   {"Cobrar", "VALOREC", kMoney}};
  t.push_back(slips);

  PickDef payers = code_list("paying firms", {"M->CGCPAGADOR"}, 22,
                             {{" Firma pagadora ", "LEFT(I1_2,28)", "", 28},
                              {"CGC/CPF", "I1_3", "", 18},
                              {"Valor", "I1_4", kMoney}},
                             {{"=", "I1_3"}}, 0);
  payers.filter = "I1_1 == \"J\"";
  t.push_back(payers);

  PickDef occupations = code_list("occupations", {"M->CDPRO", "M->OCUPACAO"}, 58,
                                  {{"Cód"_cp, "CDPRO", "", 3}, {" Nome da Ocupacao ", "LEFT(OCUPACAO,69)", "", 69}},
                                  {{"M->CDPRO", "CDPRO"}, {"M->OCUPACAO", "OCUPACAO"}});
  occupations.digit_order = 1;
  occupations.letter_order = 2;
  t.push_back(occupations);

  PickDef dependants = code_list("dependants", {"M->CPFDEPEN"}, 23,
                                 {{"Nome Dependente ", "LEFT(NOMEDEPEN,28)", "", 28}, {"CPF", "CPFDEPEN", kCpfPicture}},
                                 {{"=", "CPFDEPEN"}}, 0);
  dependants.filter = "CODIDEPEN < 98";
  t.push_back(dependants);
  PickDef income = dependants;
  income.name = "dependant of an income line";
  income.fields = {"I1_8"};
  income.puts = {{"=", "CPFDEPEN"}, {"I1_1", "\"D\""}};  // the line becomes a dependant's
  t.push_back(income);
  PickDef alimony = dependants;
  alimony.name = "alimony recipients";
  alimony.fields = {"M->CPFALIEN"};
  alimony.filter = "CODIDEPEN >= 98";
  t.push_back(alimony);

  t.push_back(code_list("natures", {"M->CODAT", "M->DESCRAT"}, 59,
                        {{"Cód"_cp, "CODAT", "", 3}, {" Nome da Ocupacao ", "LEFT(DESCRAT,58)", "", 58}},
                        {{"M->CODAT", "CODAT"}, {"M->DESCRAT", "DESCRAT"}}));
  t.push_back(code_list("banks", {"M->BANCO"}, 55,
                        {{"Nro.", "NUMBAN", "", 4}, {" Nome do Banco ", "LEFT(NOMEBAN,48)", "", 48}},
                        {{"=", "NUMBAN"}}, 2));
  t.push_back(code_list("relationships", {"CODIDEPEN"}, 47,
                        {{"Cod.", "CODDEP", "999", 4}, {"Relação de dependência"_cp, "LEFT(DESCRICAO,60)", "", 60}},
                        {{"=", "CODDEP"}}));
  t.push_back(code_list("asset codes", {"I7_5", "nDesIni", "nDesFim"}, 46,
                        {{"Cod.", "CODBEM", "999", 4}, {"Bens e Direitos", "LEFT(DESCBENS,45)", "", 45}},
                        {{"=", "CODBEM"}}));
  t.push_back(code_list("debt codes", {"I8_5"}, 48,
                        {{"Cod.", "CODDIV", "999", 4}, {"Dividas e Onus", "LEFT(DESCDIV,45)", "", 45}},
                        {{"=", "CODDIV"}}));
  t.push_back(code_list("payment codes", {"I6_3", "CODIGO"}, 49,
                        {{"Cod.", "CODDES", "999", 4}, {"Doação ou Pagamento"_cp, "LEFT(DESCDOA,65)", "", 65}},
                        {{"=", "CODDES"}}));
  t.push_back(code_list("folders", {"M->ORIGEM", "M->DESTINO"}, 50,
                        {{"Nome dos diretórios"_cp, "LEFT(DIRETOR,40)", "", 40}}, {{"=", "TRIM(DIRETOR)"}}));
  t.push_back(code_list("countries", {"I7_8", "CODPAIS", "I8R_3"}, 60,
                        {{"Cod.", "CODPAIS", "", 4}, {"Nome do País"_cp, "LEFT(NOMPAIS,40)", "", 40}},
                        {{"=", "CODPAIS"}}));
  t.push_back(code_list("embassies", {"M->CODEMB"}, 61,
                        {{"Cod.", "CD_EX", "", 4},
                         {"Cidade", "NM_CIDADE", "", 0},
                         {"Nome do País"_cp, "NM_PAIS", "", 0},
                         {"Representaçao"_cp, "NM_REP", "", 0}},
                        {{"=", "CD_EX"}}));
  t.push_back(code_list("statuses", {"M->ESTATUS", "M->OPC_TRAN"}, 66,
                        {{"Cod.", "COD", "", 4}, {"Estatus", "DESCRICAO", "", 0}}, {{"=", "COD"}}));

  PickDef streets = code_list("street types", {"M->TIPOEND", "M->RUAIMO"}, 65,
                              {{"Tipo Endereço"_cp, "NOMELOGRA", "", 0}}, {{"=", "NOMELOGRA"}});
  streets.digit_order = streets.letter_order = 1;
  t.push_back(streets);

  auto towns = [](std::string_view name, std::vector<std::string_view> fields, std::vector<PickPut> puts) {
    PickDef d = code_list(name, std::move(fields), 64, {{"Nome dos municípios"_cp, "NOMEMUNI", "", 0}},
                          std::move(puts), 0);
    d.digit_order = d.letter_order = 0;  // no index: the first column is scanned
    return d;
  };
  t.push_back(towns("municipalities", {"M->MUNICIPIO"}, {{"=", "NOMEMUNI"}, {"M->CODMUNI", "NROMUNI"}}));
  t.push_back(towns("property municipalities", {"M->MUNICIMO", "MUNICIMO"},
                    {{"=", "NOMEMUNI"}, {"M->CODMIMO", "NROMUNI"}}));
  t.push_back(towns("company municipalities", {"M->CID_SOCIE"}, {{"=", "NOMEMUNI"}}));
  PickDef states = towns("states", {"M->UF"}, {{"=", "LEFT(NOMEMUNI,2)"}});
  states.columns = {{"Nome dos Estados", "NOMEMUNI", "", 0}};
  states.filter = "SUBSTR(NOMEMUNI,4,1) == \"-\"";
  t.push_back(states);

  t.push_back(code_list("donation funds", {"M->CIDDOA"}, 75, {{"Nome dos municípios"_cp, "CIDADE", "", 0}},
                        {{"=", "CIDADE"}, {"M->CNPJDOA", "CNPJ"}}));
  t.push_back(code_list("accounts", {"M->CDCONTA", "CDCONTA"}, 62,
                        {{"Código"_cp, "CDCONTA", "", 0}, {"Descriçao"_cp, "LEFT(NMDESCRICA,60)", "", 60}},
                        {{"=", "CDCONTA"}}));
  t.push_back(code_list("rural asset codes", {"CODIGOA"}, 69,
                        {{"Cod.", "CODBEM", "999", 4}, {"  Tipo  ", "DESCBENS", "", 0}}, {{"=", "CODBEM"}}));
  return t;
}

}  // namespace

const std::vector<PickDef>& pick_definitions() {
  static const std::vector<PickDef> table = build();
  return table;
}

const PickDef* find_pick_list(std::string_view field, int mode) {
  const std::string wanted = UPPER(ALLTRIM(field));
  const PickDef* fallback = nullptr;
  for (const auto& d : pick_definitions()) {
    bool named = std::any_of(d.fields.begin(), d.fields.end(), [&](std::string_view f) { return UPPER(f) == wanted; });
    if (!named) continue;
    if (d.mode == mode) return &d;
    if (d.mode == 0 && !fallback) fallback = &d;
  }
  return fallback;
}

}  // namespace tx::screen
